#!/usr/bin/env bash
# Builds the Debian package from the build folder into a temporary folder and checks it as apt
# and dpkg will see it: control fields, dependencies found from the binaries, the file list with
# owners and modes, programs that run once unpacked, and no error in lintian's eyes.
# usage: check-deb.sh CPACK BUILD-DIR VERSION EXPECTED-FILES WRITE-TEST-ROM
source "${BASH_SOURCE%/*}/common.sh"
cpack=$1 build=$2 version=$3 expected=$4 write_rom=$5

(cd "$build" && must "$cpack" -G DEB -B "$work/out")
arch=$(dpkg --print-architecture)
deb=$work/out/vorlane_${version}_${arch}.deb
[ -f "$deb" ] || { echo "FAIL: no ${deb##*/}; cpack made: $(ls "$work/out")" >&2; exit 1; }

for pair in Package=vorlane "Version=$version" "Architecture=$arch" Section=utils \
    Priority=optional "Maintainer=Vorlane developers <dev@vorlane.example.org>" \
    Homepage=https://vorlane.example.org "Recommends=fonts-liberation, qt6-translations-l10n"; do
    got=$(dpkg-deb -f "$deb" "${pair%%=*}")
    [ "$got" = "${pair#*=}" ] || fail "${pair%%=*} is '$got', expected '${pair#*=}'"
done
description=$(dpkg-deb -f "$deb" Description)
synopsis=${description%%$'\n'*}
[ -n "$synopsis" ] && [ ${#synopsis} -le 80 ] && [ "${synopsis%.}" = "$synopsis" ] &&
    [ "$(wc -l <<<"$description")" -gt 2 ] || fail "no synopsis over a long text: '$synopsis'"
# Depends as bare package names, one per line.
depends=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | sed -E 's/\(.*\)//; s/ //g')
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    grep -qxF "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
! grep -E -- '-dev$|^libasan|^libubsan|^libgtest' <<<"$depends" ||
    fail "Depends names packages that only a build needs"

# Regular files: exactly the expected ones below /usr, all entries root's, with Debian's modes.
dpkg-deb -c "$deb" >"$work/contents"
expect_files "$expected" packaged < <(awk '$1 ~ /^-/ { sub("^\\./usr/", "", $6); print $6 }' \
    "$work/contents")
awk '$2 != "root/root" ||
     $1 ~ /^-/ && $1 != ($6 ~ /^\.\/usr\/bin\// ? "-rwxr-xr-x" : "-rw-r--r--")' "$work/contents" |
    grep . && fail "entries not root's, or programs not 0755 and data not 0644"

# Unpacked, the programs run from the package's own tree on this system's libraries.
root=$work/root
dpkg-deb -x "$deb" "$root"
for program in vorlane vorlane-cli; do
    file -b "$root/usr/bin/$program" | grep ', stripped' >/dev/null ||
        fail "$program is not stripped"
done
expect_versions "$root/usr" "$version"
"$write_rom" "$work/card.rom"
info=$work/info.json
"$root/usr/bin/vorlane-cli" info --json "$work/card.rom" >"$info" 2>&1 &&
    grep -q '"status":0' "$info" && grep -q '"headText":"VORLANE TEST BIOS' "$info" ||
    fail "info on the test image: $(cat "$info")"

# Debian's own judgement: no error; the warnings are shown for a person to read.
lintian --fail-on error "$deb" >"$work/lintian" 2>&1 || fail "lintian: $(cat "$work/lintian")"
grep -E '^[WI]: ' "$work/lintian" || true
finish "package ${deb##*/} as expected"
