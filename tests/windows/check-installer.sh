#!/usr/bin/env bash
# Installs the Windows installer silently under Wine, checks what it put where (the programs, the
# Start menu entry, the Add/Remove Programs entry), uninstalls it silently and checks that all of
# it is gone. Runs in a Wine prefix of its own, so that `wineserver -w` waits for the installer's
# processes alone and nothing is left in the test prefix.
#   check-installer.sh SETUP.EXE VERSION FILE...   (the files the installation folder must hold)
set -euo pipefail
setup=$(realpath "$1")
version=$2
shift 2
export WINEDEBUG=-all
export WINEPREFIX="${XDG_CACHE_HOME:-$HOME/.cache}/vorlane/wine-installer"
mkdir -p "$WINEPREFIX"
fail() { echo "check-installer: $*" >&2; exit 1; }
settle() { wineserver -w; }

# A folder of its own. (Wine quotes an argument with spaces, and the installer takes /D= only
# unquoted.)
folder="vorlane-install-test-$$"
dir="$WINEPREFIX/drive_c/$folder"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorlane'
trap 'rm -rf "$dir"; wine reg delete "$key" /f >/dev/null 2>&1 || true; settle' EXIT
start=$(date +%s)

wine "$setup" /S "/D=C:\\$folder"
settle
for file in "$@" Uninstall.exe; do
  [[ -f $dir/$file ]] || fail "the installer did not put $file into C:\\$folder"
done
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vorlane $version"
[[ -f $menu/Uninstall.lnk ]] || fail "no Start menu folder $menu"
if [[ " $* " == *" vorlane.exe "* ]]; then
  [[ -f $menu/Vorlane.lnk ]] || fail "no Start menu entry for the editor in $menu"
fi
wine reg query "$key" /v UninstallString | grep -qF "C:\\$folder\\Uninstall.exe" ||
  fail "Add/Remove Programs does not list the uninstaller"

# The uninstaller copies itself away and returns at once; the copy does the work.
wine "$dir/Uninstall.exe" /S
settle
[[ ! -e $dir ]] || fail "the uninstaller left C:\\$folder: $(ls -A "$dir")"
[[ ! -e $menu ]] || fail "the uninstaller left the Start menu folder"
if wine reg query "$key" >/dev/null 2>&1; then
  fail "the uninstaller left its Add/Remove Programs entry"
fi
echo "check-installer: installed, checked and uninstalled in $(($(date +%s) - start)) s"
