#!/usr/bin/env bash
# Runs tools/install-deps as a user with sudo on a machine that has none of the packages, with
# stand-ins for id, sudo (which, like the real one, passes no environment through), dpkg-query
# and apt-get, and checks what apt-get was asked: every package once, without questions.
# usage: check-install-deps.sh INSTALL-DEPS
source "${BASH_SOURCE%/*}/common.sh"
script=$1

bin=$work/bin
mkdir "$bin"
stand_in() {
    printf '#!/bin/bash\n%s\n' "$2" >"$bin/$1"
    chmod +x "$bin/$1"
}
stand_in id 'echo 1000'
stand_in sudo 'exec env -i PATH="$PATH" "$@"'
stand_in dpkg-query 'exit 1'
stand_in apt-get "printf '%s\\n' \"\$DEBIAN_FRONTEND\" \"\$@\" >\"$work/apt-get.\$1\""
PATH=$bin:$PATH DEBIAN_FRONTEND=noninteractive must "$script"

for step in update install; do
    [ "$(sed -n 1p "$work/apt-get.$step" 2>/dev/null)" = noninteractive ] ||
        fail "apt-get $step runs without DEBIAN_FRONTEND=noninteractive"
done
twice=$(sed 1d "$work/apt-get.install" | grep -v '^-' | sort | uniq -d)
[ -z "$twice" ] || fail "packages listed more than once: $twice"
grep -qx lintian "$work/apt-get.install" || fail "apt-get install was not asked for the packages"
finish "install-deps asks apt-get for each package once, without questions"
