#!/usr/bin/env bash
# Runs tools/install-deps as a user with sudo on a machine that has none of the packages, with
# stand-ins for id, sudo (which, like the real one, passes no environment through), dpkg-query
# and apt-get, and checks what apt-get was asked for each choice of package groups: the packages
# of the groups' files, every one once, without questions; an unknown group asks for nothing.
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

# A copy of the script beside its groups, and one group more, as another platform's would be.
tree=$work/tree
mkdir -p "$tree/deps"
cp "$script" "$tree/install-deps"
cp "${script%/*}"/deps/*.txt "$tree/deps/"
printf '# A group that shares a package with the build group.\ncmake\nextra-package # why\n' \
    >"$tree/deps/extra.txt"
listed() { cat "$@" | sed 's/#.*//' | tr -s ' \t' '\n' | sed '/^$/d' | LC_ALL=C sort -u; }

# Arguments, then the group files whose packages apt-get must be asked for.
cases=(
    ":build.txt test.txt"
    "--build:build.txt"
    "test:test.txt"
    "extra --build:extra.txt build.txt"
)
for row in "${cases[@]}"; do
    read -ra args <<<"${row%%:*}"
    read -ra files <<<"${row#*:}"
    rm -f "$work"/apt-get.*
    PATH=$bin:$PATH DEBIAN_FRONTEND=noninteractive must "$tree/install-deps" "${args[@]}"
    for step in update install; do
        [ "$(sed -n 1p "$work/apt-get.$step" 2>/dev/null)" = noninteractive ] ||
            fail "${args[*]}: apt-get $step runs without DEBIAN_FRONTEND=noninteractive"
    done
    asked=$(sed 1,2d "$work/apt-get.install" | grep -v '^-')
    twice=$(LC_ALL=C sort <<<"$asked" | uniq -d)
    [ -z "$twice" ] || fail "${args[*]}: packages asked for more than once: $twice"
    diff -u <(cd "$tree/deps" && listed "${files[@]}") <(LC_ALL=C sort -u <<<"$asked") \
        >"$work/diff" || fail "'install-deps ${args[*]}' asks for other packages than
${files[*]} list (- listed, + asked): $(cat "$work/diff")"
done

# The build group is what the README's Install steps install: not the test tools.
! grep -qx lintian <(cd "$tree/deps" && listed build.txt) || fail "the build group holds lintian"

rm -f "$work"/apt-get.*
if PATH=$bin:$PATH "$tree/install-deps" --nonesuch 2>"$work/err"; then
    fail "an unknown group is accepted"
fi
grep -q "no package group 'nonesuch'" "$work/err" ||
    fail "an unknown group is not named: $(cat "$work/err")"
! ls "$work"/apt-get.* >/dev/null 2>&1 || fail "an unknown group still runs apt-get"
finish "install-deps asks apt-get for each group's packages once, without questions"
