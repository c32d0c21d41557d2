#!/usr/bin/env bash
# The same command lines through the Linux vorlane-cli and through vorlane-cli.exe under Wine:
# standard output, every file written and the exit status must be the same bytes, and standard
# error the same lines but for the system's own reason text at their end.
#   parity.sh LINUX_CLI WINDOWS_CLI ROMS_DIR WORK_DIR
# ROMS_DIR holds real option ROMs (the shared ones; may be missing). Images made by tools/demo-rom
# and edited by the Linux program stand beside them.
set -euo pipefail
linux=$(realpath "$1")
windows=$(realpath "$2")
roms=$3
work=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
wine=${VORLANE_WINE:-$root/cmake/wine-run}

rm -rf "$work"
mkdir -p "$work/images"
images=$work/images
"$root/tools/demo-rom" "$images/demo.rom"
"$linux" edit "$images/demo.rom" -o "$images/pal.rom" --tv pal --engine-mhz 300 >/dev/null
"$linux" edit "$images/demo.rom" -o "$images/cyr.rom" --builtin-font cyrillic >/dev/null
cp "$images/demo.rom" "$images/badsum.rom"
printf '\x01' | dd of="$images/badsum.rom" bs=1 seek=100 conv=notrunc status=none
head -c 1000 "$images/demo.rom" >"$images/small.rom"
"$linux" pad "$images/demo.rom" --chip-size 128K -o "$images/padded.rom" >/dev/null
{ cat "$images/demo.rom"; printf 'trailing'; } >"$images/tail.rom"
"$linux" font-export "$images/demo.rom" "$images/demo.fnt" >/dev/null
"$linux" font-export "$images/cyr.rom" "$images/cyr16.psf" --codepage 866 >/dev/null
mkdir "$images/folder"
real=()
if [ -d "$roms" ]; then
  for rom in "$roms"/*; do
    case $rom in *.md) continue ;; esac
    cp "$rom" "$images/"
    real+=("$(basename "$rom")")
  done
fi

# One command line per row; `<NAME` on its own feeds standard input from images/NAME. Every row
# runs in a fresh copy of images/, with relative names, so that both programs see the same text.
rows=(
  "--version"
  "--help"
  "info demo.rom"
  "info --json demo.rom pal.rom cyr.rom badsum.rom small.rom padded.rom tail.rom"
  "info badsum.rom"
  "info --skip-checksum badsum.rom"
  "info --json --skip-checksum badsum.rom small.rom"
  "info small.rom missing.rom demo.rom"
  "info folder"
  "check demo.rom pal.rom tail.rom padded.rom"
  "check --json demo.rom badsum.rom tail.rom"
  "check --chip-size 64K demo.rom"
  "check --chip-size 32K --json demo.rom padded.rom"
  "check --device 5159 demo.rom"
  "check --device 4e44 --json demo.rom"
  "check --chip-size 17M demo.rom"
  "diff demo.rom pal.rom"
  "diff --json demo.rom cyr.rom"
  "diff demo.rom demo.rom"
  "diff --skip-checksum demo.rom badsum.rom"
  "edit demo.rom -o out.rom --tv pal"
  "edit demo.rom -o out.rom --engine-mhz 250 --memory-mhz 210"
  "edit demo.rom -o out.rom --subsystem-vendor 1043 --subsystem 4c21"
  "edit demo.rom -o out.rom --font-file demo.fnt --builtin-font cyrillic"
  "edit demo.rom -o out.rom --font-8x16 cyr16.psf --codepage 866"
  "edit pal.rom --in-place --tv ntsc"
  "edit demo.rom -o out.rom --engine-feedback 300"
  "edit demo.rom -o out.rom --tv secam"
  "edit demo.rom --in-place -o out.rom"
  "edit - --in-place --tv pal"
  "edit small.rom -o out.rom --tv pal"
  "edit demo.rom -o folder --tv pal"
  "edit demo.rom -o missing/out.rom --tv pal"
  "pad demo.rom --chip-size 128K -o out.bin"
  "pad demo.rom --chip-size 64K --in-place"
  "pad padded.rom --chip-size 64K -o out.bin"
  "fix-checksum badsum.rom -o out.rom"
  "fix-checksum badsum.rom --in-place"
  "fix-checksum small.rom -o out.rom"
  "font-export demo.rom out.fnt"
  "font-export cyr.rom out.psf --codepage 866"
  "font-export demo.rom out.psf.gz --size 8x8"
  "font-export demo.rom out.png"
  "font-export cyr.rom out.png --size 8x8 --scale 1"
  "font-export demo.rom out.bin --format png --scale 8"
  "font-export demo.rom out.png --scale 9"
  "info - <demo.rom"
  "info --json - <pal.rom"
  "check --json - <tail.rom"
  "edit - -o - --tv pal <demo.rom"
  "fix-checksum - -o - <badsum.rom"
  "font-export - - --format psf <cyr.rom"
  "diff - pal.rom <demo.rom"
  "frobnicate demo.rom"
  "info --colour demo.rom"
  "info"
  "/info demo.rom"
  "check /json demo.rom"
  "info /no/such/folder/x.rom"
)
if [ ${#real[@]} -gt 0 ]; then
  rows+=("info ${real[*]}" "info --json ${real[*]}" "check --json --chip-size 64K ${real[*]}"
    "diff ${real[0]} ${real[${#real[@]} - 1]}")
  for rom in "${real[@]}"; do
    rows+=("fix-checksum $rom -o out.rom" "font-export --skip-checksum $rom out.fnt")
  done
fi

# Runs one row with PROGRAM... in FOLDER (a fresh copy of the images).
run_row() {
  local folder=$1 row=$2
  shift 2
  rm -rf "$folder"
  cp -r "$images" "$folder"
  local input=/dev/null
  local -a args=()
  for word in $row; do
    if [[ $word == \<* ]]; then
      input=$folder/${word#<}
    else
      args+=("$word")
    fi
  done
  set +e
  (cd "$folder" && "$@" "${args[@]}" <"$input" >../stdout 2>../stderr)
  echo $? >"$folder/../status"
  set -e
}

# Both stderr texts line by line; a line may differ only after its last ": " (the reason).
same_errors() {
  local a=$1 b=$2
  [ "$(wc -l <"$a")" = "$(wc -l <"$b")" ] || return 1
  paste -d '\n' "$a" "$b" | while IFS= read -r x && IFS= read -r y; do
    [ "$x" = "$y" ] || [ "${x%: *}" = "${y%: *}" ] || exit 1
  done
}

failures=0
mkdir -p "$work/linux" "$work/windows"
for row in "${rows[@]}"; do
  run_row "$work/linux/run" "$row" "$linux"
  run_row "$work/windows/run" "$row" "$wine" "$windows"
  problems=()
  cmp -s "$work/linux/status" "$work/windows/status" ||
    problems+=("exit $(cat "$work/linux/status") vs $(cat "$work/windows/status")")
  cmp -s "$work/linux/stdout" "$work/windows/stdout" || problems+=("standard output")
  same_errors "$work/linux/stderr" "$work/windows/stderr" || problems+=("standard error")
  diff -r "$work/linux/run" "$work/windows/run" >/dev/null || problems+=("files written")
  if [ ${#problems[@]} -gt 0 ]; then
    failures=$((failures + 1))
    echo "DIFFERS: vorlane-cli $row: ${problems[*]}"
    diff "$work/linux/stderr" "$work/windows/stderr" | head -n 6 || true
  fi
done
echo "${#rows[@]} command lines, $failures differ"
[ "$failures" -eq 0 ]
