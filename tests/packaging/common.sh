# shellcheck shell=bash
# Sourced by the packaging checks: strict mode, a scratch folder removed on exit, and failures
# counted so that one run reports every problem.
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
# Runs a step the rest depends on; stops with its output when it fails.
must() {
    "$@" >"$work/step.log" 2>&1 || { cat "$work/step.log"; echo "FAIL: $*"; exit 1; } >&2
}
# Compares the file list on standard input, in any order, with the list in file $1. Feed it with
# "< <(...)": at the end of a pipeline it would run in a subshell and lose its failures.
expect_files() {
    diff -u <(LC_ALL=C sort "$1") <(LC_ALL=C sort) || fail "the $2 files differ (- expected, + $2)"
}
# Both programs below prefix $1 run and report version $2.
expect_versions() {
    local program
    for program in vorlane vorlane-cli; do
        [ "$("$1/bin/$program" --version | sed -n 1p)" = "$program $2" ] ||
            fail "$1/bin/$program --version does not report $program $2"
    done
}
finish() {
    [ "$failures" -eq 0 ] || { echo "$failures problem(s) found" >&2; exit 1; }
    echo "$1"
}
