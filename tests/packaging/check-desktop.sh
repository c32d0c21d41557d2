#!/usr/bin/env bash
# Installs the build into a private prefix and reads it with the desktop's own libraries, as a
# file manager and a software centre on Debian do: shared-mime-info's database tells the images
# by their content, GLib loads the desktop entry, offers it for the type and starts it with the
# file, and AppStream accepts the metainfo.
# usage: check-desktop.sh CMAKE BUILD-DIR VERSION WRITE-TEST-ROM [SHARED-ROMS]
source "${BASH_SOURCE%/*}/common.sh"
cmake=$1 build=$2 version=$3 write_rom=$4 roms=${5:-}
type=application/x-ati-video-bios

prefix=$work/usr
must "$cmake" --install "$build" --prefix "$prefix"
# Only this prefix, beside Debian's own type definitions, so that the image's type has to win
# against every other one and a copy installed on this machine cannot stand in for it.
cp /usr/share/mime/packages/freedesktop.org.xml "$prefix/share/mime/packages/"
# What the triggers of Debian's shared-mime-info and desktop-file-utils run when a package puts
# files there.
must update-mime-database "$prefix/share/mime"
must update-desktop-database "$prefix/share/applications"
export XDG_DATA_DIRS=$prefix/share XDG_DATA_HOME=$work/home XDG_CONFIG_HOME=$work/config
export XDG_CONFIG_DIRS=$work/config-dirs
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"

content_type() {
    gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'
}
"$write_rom" "$work/card.rom"
# A name that says nothing, so that the content decides.
cp "$work/card.rom" "$work/image"
for file in "$work/card.rom" "$work/image"; do
    got=$(content_type "$file")
    [ "$got" = "$type" ] || fail "${file##*/}: content type '$got', expected $type"
done
if [ -d "$roms" ]; then
    got=$(content_type "$roms/ati_rage128-Rage128progl_zerostate.VBI")
    [ "$got" = "$type" ] || fail "a real ATI video BIOS is '$got', expected $type"
    got=$(content_type "$roms/seabios-vgabios-ati.bin")
    [ "$got" != "$type" ] || fail "an option ROM without the ATI signature is taken for $type"
else
    echo "SKIP: no real option ROMs at '$roms'"
fi

# GLib offers the entry for the type; a stand-in program named as the entry's Exec shows what a
# launch passes, whether the entry is started directly or the file is opened with the default
# application, as a double-click in a file manager does. GLib loads the entry only when its
# TryExec names a program on the PATH: the stand-in.
mkdir "$work/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s/launched.tmp" && mv "%s/launched.tmp" "%s/launched"\n' \
    "$work" "$work" "$work" >"$work/bin/vorlane"
chmod +x "$work/bin/vorlane"
export PATH=$work/bin:$PATH
gio mime "$type" >"$work/offered" 2>&1
sed -n '/^Registered applications:/,/^[^[:space:]]/p' "$work/offered" |
    grep -qE '^\s+vorlane\.desktop$' ||
    fail "gio mime $type does not offer vorlane.desktop: $(cat "$work/offered")"
launched() {
    local i
    for i in $(seq 50); do
        [ -f "$work/launched" ] && break
        sleep 0.1
    done
    if [ "$(cat "$work/launched" 2>/dev/null)" != "$work/card.rom" ]; then
        fail "$1 did not start vorlane with the file: '$(cat "$work/launched" 2>/dev/null)'"
    fi
    rm -f "$work/launched"
}
gio launch "$prefix/share/applications/vorlane.desktop" "$work/card.rom" >"$work/launch" 2>&1 ||
    fail "gio launch of the desktop entry: $(cat "$work/launch")"
launched "gio launch"
gio mime "$type" vorlane.desktop >/dev/null 2>&1 || fail "gio cannot make vorlane the default"
gio open "$work/card.rom" >"$work/open" 2>&1 || fail "gio open: $(cat "$work/open")"
launched "gio open"

# The software centre's view: valid metainfo that launches the installed entry, provides the
# installed programs, and has a release entry for this version on top.
metainfo=("$prefix"/share/metainfo/*.metainfo.xml)
if ! appstreamcli validate --no-net "${metainfo[@]}" >"$work/appstream" 2>&1 ||
    grep -qE '^(W|E):' "$work/appstream"; then
    fail "appstreamcli validate: $(cat "$work/appstream")"
fi
launchable=$(sed -nE 's|.*<launchable type="desktop-id">(.*)</launchable>.*|\1|p' "${metainfo[@]}")
[ -f "$prefix/share/applications/$launchable" ] ||
    fail "the metainfo launches '$launchable', which is not installed"
for binary in $(sed -nE 's|.*<binary>(.*)</binary>.*|\1|p' "${metainfo[@]}"); do
    [ -x "$prefix/bin/$binary" ] || fail "the metainfo provides '$binary', which is not installed"
done
newest=$(sed -nE 's/.*<release version="([^"]*)".*/\1/p' "${metainfo[@]}" | head -n 1)
[ "$newest" = "$version" ] || fail "the metainfo's newest release is '$newest', not $version"
newest=$(zcat "$prefix/share/doc/vorlane/changelog.gz" | sed -nE '1s/^vorlane \(([^)]*)\).*/\1/p')
[ "$newest" = "$version" ] || fail "the changelog's newest entry is '$newest', not $version"
finish "desktop files read by GLib, shared-mime-info and AppStream as expected"
