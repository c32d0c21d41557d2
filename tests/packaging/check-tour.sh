#!/usr/bin/env bash
# Runs the shell lines of the README's tour, taken from the README itself, one after the other in
# an empty folder, as a reader pastes them into the source folder: the built programs stand for
# the installed ones, and the editor shows no window (offscreen) and ends at its first paint. A
# line ends with status 0, or with the status its comment gives ("# exits 1: ..."); a line's
# "from the sources:" alternative runs too, with tools/run standing for the build it starts with.
# usage: check-tour.sh README SOURCE-DIR VORLANE VORLANE-CLI
source "${BASH_SOURCE%/*}/common.sh"
readme=$1 source_dir=$2 editor=$3 cli=$4

# The indented blocks between the tour's heading and the next heading of its level.
mapfile -t lines < <(awk '/^## / { on = ($0 == "## A short tour") } on && /^    [^ ]/ {
    sub(/^    /, ""); print }' "$readme")
[ ${#lines[@]} -gt 0 ] || fail "no tour found in $readme"
[ "${lines[0]:-}" = "tools/demo-rom demo.rom" ] ||
    fail "the tour does not start with tools/demo-rom demo.rom: ${lines[0]:-}"

folder=$work/tour
mkdir -p "$folder/tools" "$work/bin"
ln -s "$editor" "$work/bin/vorlane"
ln -s "$cli" "$work/bin/vorlane-cli"
printf '#!/bin/sh\nexec "%s/tools/demo-rom" "$@"\n' "$source_dir" >"$folder/tools/demo-rom"
printf '#!/bin/sh\nexec "%s" "$@"\n' "$editor" >"$folder/tools/run"
chmod +x "$folder/tools/demo-rom" "$folder/tools/run"

run_line() {
    local line=$1 expected=0 status=0
    [[ $line =~ \#\ exits\ ([0-9]+) ]] && expected=${BASH_REMATCH[1]}
    (cd "$folder" && PATH=$work/bin:$PATH QT_QPA_PLATFORM=offscreen VORLANE_BENCH_FIRST_PAINT=1 \
        timeout 120 bash -c "$line") >"$work/line.log" 2>&1 || status=$?
    [ "$status" -eq "$expected" ] ||
        fail "'$line' ended with status $status, not $expected: $(cat "$work/line.log")"
}
for line in "${lines[@]}"; do
    run_line "$line"
    if [[ $line == *"# from the sources: "* ]]; then
        run_line "${line##*# from the sources: }"
    fi
done
finish "the README's tour runs as pasted (${#lines[@]} lines)"
