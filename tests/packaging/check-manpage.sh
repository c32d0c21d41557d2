#!/usr/bin/env bash
# Fails when a manual page's synopsis is not the usage of its program's --help line for line, when
# it leaves out an option, option argument or exit status that --help shows, or when man finds a
# formatting problem in the page.
# usage: check-manpage.sh PROGRAM PAGE [PROGRAM PAGE]...
source "${BASH_SOURCE%/*}/common.sh"

check_page() {
    local program=$1 page=$2 name help rendered flat item
    name=$(basename "$program")
    help=$("$program" --help)
    # Plain text, wide enough that no synopsis line wraps.
    rendered=$(LC_ALL=C MANWIDTH=200 man --warnings -l -P cat "$page" 2>"$work/warnings")
    [ ! -s "$work/warnings" ] || fail "$page: man reports: $(cat "$work/warnings")"
    flat=$(printf '%s\n' "$rendered" | tr -s '[:space:]' ' ')
    printf '%s\n' "$rendered" | tr -c 'A-Za-z0-9.-' '\n' | sort -u >"$work/words"

    # Synopsis: the page's lines are the help's usage lines, one for one and in the same order.
    # The help's usage runs from "Usage:" to the first line that is not indented, and a line
    # that does not start with the program's name continues the one above it.
    diff -u --label "$name --help" --label "$page" \
        <(awk -v name="$name" '
            /^Usage:/ { on = 1; sub(/^Usage:/, ""); if (!NF) next }
            on && !/^[ \t]+[^ \t]/ { exit }
            on { $1 = $1; if ($1 == name || line == "") { if (line != "") print line; line = $0 }
                 else line = line " " $0 }
            END { if (line != "") print line }' <<<"$help") \
        <(awk '/^SYNOPSIS/ { on = 1; next } /^[^ ]/ { on = 0 } on && NF { $1 = $1; print }' \
            <<<"$rendered") >"$work/synopsis" ||
        fail "$page: the synopsis differs from --help (- help, + page):
$(cat "$work/synopsis")"

    # Every option as a whole word (-h must not pass for being part of --help), and with its
    # argument: a placeholder such as N or F.fnt, or the words to choose from.
    while IFS= read -r item; do
        grep -qxF -- "$item" "$work/words" || fail "$page: option missing: $item"
    done < <(grep -oE -- '(^|[^A-Za-z0-9-])--?[a-z][a-z0-9-]*' <<<"$help" | sed -E 's/^[^-]//' |
        sort -u)
    while IFS= read -r item; do
        grep -qF -- "$item" <<<"$flat" || fail "$page: option argument missing: $item"
    done < <(grep -oE -- '(^|[^A-Za-z0-9-])--?[a-z][a-z0-9-]* ([A-Z][A-Z.a-z]*|[a-z]+(\|[a-z]+)+)' \
        <<<"$help" | sed -E 's/^[^-]//' | sort -u)

    # Exit statuses: each code of the help's list starts an entry of EXIT STATUS.
    local section
    section=$(awk '/^EXIT STATUS/ { on = 1; next } /^[A-Z]/ { on = 0 } on' <<<"$rendered")
    while IFS= read -r item; do
        grep -qE "^ +$item( |\$)" <<<"$section" || fail "$page: exit status $item missing"
    done < <(awk '/^Exit status:/ { on = 1; next } /^[^ ]/ { on = 0 } on && $1 ~ /^[0-9]+$/ {
        print $1 }' <<<"$help")
}

while [ $# -gt 0 ]; do
    check_page "$1" "$2"
    shift 2
done
finish "manual pages match --help"
