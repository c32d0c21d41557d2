#!/usr/bin/env bash
# Builds the Debian package from the build folder into a temporary folder and checks it as apt
# and dpkg will see it: name, version, control fields, dependencies found from the binaries, the
# file list with owners and modes, and programs that run once unpacked.
# usage: check-deb.sh CPACK BUILD-DIR VERSION EXPECTED-FILES WRITE-TEST-ROM
set -euo pipefail
cpack=$1 build=$2 version=$3 expected=$4 write_rom=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! (cd "$build" && "$cpack" -G DEB -B "$work/out") >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack failed" >&2
    exit 1
fi
arch=$(dpkg --print-architecture)
deb=$work/out/vorlane_${version}_${arch}.deb
if [ ! -f "$deb" ]; then
    echo "FAIL: no vorlane_${version}_${arch}.deb; cpack made: $(cd "$work/out" && ls -- *.deb)" >&2
    exit 1
fi

expect_field() {
    local got
    got=$(dpkg-deb -f "$deb" "$1")
    [ "$got" = "$2" ] || fail "$1 is '$got', expected '$2'"
}
expect_field Package vorlane
expect_field Version "$version"
expect_field Architecture "$arch"
expect_field Maintainer "Vorlane developers <dev@vorlane.example.org>"
expect_field Section utils
expect_field Priority optional
expect_field Homepage "https://vorlane.example.org"
expect_field Recommends fonts-liberation

synopsis=$(dpkg-deb -f "$deb" Description | sed -n 1p)
[ -n "$synopsis" ] && [ ${#synopsis} -le 80 ] && [ "${synopsis%.}" = "$synopsis" ] ||
    fail "the description's first line is no synopsis: '$synopsis'"
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -gt 2 ] || fail "the description has no long text"

# Depends as bare package names, one per line.
dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | sed -E 's/\(.*\)//; s/^ +//; s/ +$//' |
    sed '/^$/d' | sort -u >"$work/depends"
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    grep -qxF "$needed" "$work/depends" || fail "Depends lacks $needed: $(tr '\n' ' ' <"$work/depends")"
done
if grep -E -- '-dev$|^libasan|^libubsan|^libgtest' "$work/depends"; then
    fail "Depends names packages that only a build needs"
fi

# Regular files: exactly the expected ones below /usr, owned by root, with Debian's modes.
dpkg-deb -c "$deb" >"$work/contents"
awk '{ print $6 }' "$work/contents" | grep -v '^\./usr/' && fail "files outside /usr"
awk '$1 ~ /^-/ { sub("^\\./usr/", "", $6); print $6 }' "$work/contents" | LC_ALL=C sort \
    >"$work/packaged"
LC_ALL=C sort "$expected" >"$work/expected"
diff -u "$work/expected" "$work/packaged" || fail "the packaged files differ (- expected, + packaged)"
awk '$2 != "root/root"' "$work/contents" | grep . && fail "entries not owned by root/root"
awk '$1 ~ /^-/ && $6 ~ /^\.\/usr\/bin\// && $1 != "-rwxr-xr-x"' "$work/contents" | grep . &&
    fail "programs not mode 0755"
awk '$1 ~ /^-/ && $6 !~ /^\.\/usr\/bin\// && $1 != "-rw-r--r--"' "$work/contents" | grep . &&
    fail "data files not mode 0644"

# Unpacked, the programs run from the package's own tree on this system's libraries.
root=$work/root
dpkg-deb -x "$deb" "$root"
for program in vorlane vorlane-cli; do
    file -b "$root/usr/bin/$program" | grep ', stripped' >/dev/null ||
        fail "usr/bin/$program is not stripped"
done
[ "$("$root/usr/bin/vorlane-cli" --version)" = "vorlane-cli $version" ] ||
    fail "the packaged vorlane-cli --version says '$("$root/usr/bin/vorlane-cli" --version)'"
[ "$("$root/usr/bin/vorlane" --version | sed -n 1p)" = "vorlane $version" ] ||
    fail "the packaged vorlane --version does not say 'vorlane $version'"
"$write_rom" "$work/card.rom"
if "$root/usr/bin/vorlane-cli" info --json "$work/card.rom" >"$work/info.json" 2>&1; then
    grep -q '"status":0' "$work/info.json" && grep -q '"headText":"VORLANE TEST BIOS' \
        "$work/info.json" || fail "info on the test image printed: $(cat "$work/info.json")"
else
    fail "info on the test image failed: $(cat "$work/info.json")"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures problem(s) found" >&2
    exit 1
fi
echo "package $(basename "$deb") as expected"
