#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs of it: exactly the
# expected files, a valid desktop entry whose program and icon are installed, icons of the size
# their folder names, the copyright file, and programs that run.
# usage: check-install.sh CMAKE BUILD-DIR EXPECTED-FILES VERSION
source "${BASH_SOURCE%/*}/common.sh"
cmake=$1 build=$2 expected=$3 version=$4

prefix=$work/usr
must "$cmake" --install "$build" --prefix "$prefix"
expect_files "$expected" installed < <(cd "$prefix" && find . ! -type d | sed 's|^\./||')

desktop=$prefix/share/applications/vorlane.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
program=$(sed -nE 's/^Exec=([^ ]+).*/\1/p' "$desktop")
[ -x "$prefix/bin/$program" ] || fail "the desktop entry starts '$program', which is not installed"
icon=$(sed -nE 's/^Icon=(.*)/\1/p' "$desktop")
[ -f "$prefix/share/icons/hicolor/48x48/apps/$icon.png" ] ||
    fail "the desktop entry names icon '$icon', which the theme does not have at 48 px"
for png in "$prefix"/share/icons/hicolor/*/apps/*.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    file -b "$png" | grep "^PNG image data, ${size%%x*} x ${size%%x*}," >/dev/null ||
        fail "${png#"$prefix"/}: $(file -b "$png"), not a $size PNG"
done

# Debian's machine-readable copyright file, whose licences point to texts this system has.
copyright=$prefix/share/doc/vorlane/copyright
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" ||
    fail "the copyright file is not in Debian's machine-readable format"
licences=$(grep -oE '/usr/share/common-licenses/[A-Za-z0-9.+-]*[A-Za-z0-9+]' "$copyright" | sort -u)
[ -n "$licences" ] || fail "the copyright file points to no licence text"
for text in $licences; do
    [ -f "$text" ] || fail "the copyright file points to $text, which this system lacks"
done
expect_versions "$prefix" "$version"
finish "install tree as expected"
