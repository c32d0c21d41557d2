#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs of it: exactly the
# expected files, a valid desktop entry whose program and icon are installed, icons of the size
# their folder names, manual pages that man reads, and programs that run. Then checks that a
# prefix that cannot be written makes the install fail with the installer's own error.
# usage: check-install.sh CMAKE BUILD-DIR EXPECTED-FILES LICENSE VERSION
set -euo pipefail
cmake=$1 build=$2 expected=$3 license=$4 version=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

prefix=$work/usr
if ! "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "FAIL: the install failed" >&2
    exit 1
fi
(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort) >"$work/installed"
LC_ALL=C sort "$expected" >"$work/expected"
diff -u "$work/expected" "$work/installed" || fail "the installed files differ (- expected, + installed)"

desktop=$prefix/share/applications/vorlane.desktop
if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
    program=$(sed -nE 's/^Exec=([^ ]+).*/\1/p' "$desktop")
    [ -x "$prefix/bin/$program" ] || fail "the desktop entry starts '$program', which is not installed"
    icon=$(sed -nE 's/^Icon=(.*)/\1/p' "$desktop")
    [ -f "$prefix/share/icons/hicolor/48x48/apps/$icon.png" ] ||
        fail "the desktop entry names icon '$icon', which the theme does not have at 48 px"
fi

for png in "$prefix"/share/icons/hicolor/*/apps/*.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    size=${size%%x*}
    file -b "$png" | grep "^PNG image data, $size x $size," >/dev/null ||
        fail "${png#"$prefix"/}: $(file -b "$png"), not a $size px PNG"
done

for page in "$prefix"/share/man/man1/*.1.gz; do
    gzip -t "$page" || fail "${page#"$prefix"/}: not a valid gzip file"
    LC_ALL=C man --warnings -l -P cat "$page" >/dev/null 2>"$work/warnings" || true
    [ ! -s "$work/warnings" ] || fail "${page#"$prefix"/}: $(cat "$work/warnings")"
done

cmp -s "$license" "$prefix/share/doc/vorlane/copyright" ||
    fail "share/doc/vorlane/copyright is not the licence"
[ "$("$prefix/bin/vorlane-cli" --version)" = "vorlane-cli $version" ] ||
    fail "the installed vorlane-cli does not report version $version"
[ "$("$prefix/bin/vorlane" --version | sed -n 1p)" = "vorlane $version" ] ||
    fail "the installed vorlane does not report version $version"

# Root may write almost anywhere, so the prefix that cannot be written lies below a plain file.
touch "$work/plain-file"
if "$cmake" --install "$build" --prefix "$work/plain-file/usr" >"$work/refused.log" 2>&1; then
    fail "installing below a plain file succeeded"
elif ! grep -q "CMake Error" "$work/refused.log" || ! grep -qF "$work/plain-file" "$work/refused.log"
then
    fail "installing below a plain file failed without the installer's error: $(cat "$work/refused.log")"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures problem(s) found" >&2
    exit 1
fi
echo "install tree as expected"
