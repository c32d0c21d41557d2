#!/usr/bin/env bash
# The README's tour starts from tools/demo-rom: it must build from a bare source tree and write an
# image that passes every check, names itself a demo, and carries the standard font set.
# usage: check-demo-rom.sh DEMO-ROM-TOOL VORLANE-CLI
source "${BASH_SOURCE%/*}/common.sh"
tool=$1 cli=$2

must "$tool" "$work/demo.rom"
"$cli" info --json "$work/demo.rom" >"$work/info.json" 2>&1 || fail "info: $(cat "$work/info.json")"
grep -q '"headText":"VORLANE DEMO IMAGE' "$work/info.json" ||
    fail "the image does not name itself a demo: $(cat "$work/info.json")"
"$cli" edit "$work/demo.rom" -o "$work/standard.rom" --builtin-font standard >/dev/null 2>&1 &&
    "$cli" diff "$work/demo.rom" "$work/standard.rom" >"$work/diff" 2>&1 ||
    fail "the demo's fonts are not the standard set: $(cat "$work/diff" 2>/dev/null)"
finish "demo image as expected"
