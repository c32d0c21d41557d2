#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs of it: exactly the
# expected files, a valid desktop entry whose program and icon are installed, icons of the size
# their folder names, the licence, and programs that run.
# usage: check-install.sh CMAKE BUILD-DIR EXPECTED-FILES LICENSE VERSION
source "${BASH_SOURCE%/*}/common.sh"
cmake=$1 build=$2 expected=$3 license=$4 version=$5

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

cmp -s "$license" "$prefix/share/doc/vorlane/copyright" || fail "the copyright file is no licence"
expect_versions "$prefix" "$version"
finish "install tree as expected"
