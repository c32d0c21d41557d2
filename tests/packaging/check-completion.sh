#!/usr/bin/env bash
# Drives the bash completion of vorlane-cli as bash does on Tab, through bash-completion's own
# library, over a few real lines: commands, every option --help shows for each command, the
# words an option takes, files, and the card addresses that vorlane-cli cards lists.
# usage: check-completion.sh VORLANE-CLI COMPLETION-FILE
source "${BASH_SOURCE%/*}/common.sh"
cli=$(realpath "$1") completion=$2

source /usr/share/bash-completion/bash_completion
source "$completion"

# Prints what Tab offers at the end of the line given, one word a line, sorted. Readline splits
# words at blanks and makes a ':' a word of its own; the completion puts the address together.
complete_line() {
    local line=$1
    COMP_LINE=$line
    COMP_POINT=${#line}
    read -ra COMP_WORDS <<<"${line//:/ : }"
    [[ $line == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _vorlane_cli vorlane-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    ((${#COMPREPLY[@]} == 0)) || printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort
}
expect() {
    local line=$1 want got
    want=$(printf '%s\n' "${@:2}" | LC_ALL=C sort)
    got=$(complete_line "$line")
    [ "$got" = "$want" ] || fail "'$line<Tab>' offers '${got//$'\n'/ }', expected '${want//$'\n'/ }'"
}
offers() {
    local line=$1 word got
    got=$(complete_line "$line")
    for word in "${@:2}"; do
        grep -qxF -- "$word" <<<"$got" || fail "'$line<Tab>' does not offer $word"
    done
}

# Every command and option that --help shows: the usage lines, and the options listed under
# each command (with the continuation lines of its usage and its examples).
help=$("$cli" --help)
declare -A options=()
while read -r command rest; do
    options[$command]+=" $(grep -oE -- '(^|[][ (|])--?[a-z][a-z0-9-]*' <<<"$rest" | sed 's/^[^-]*//')"
done < <(sed -nE 's/^ +vorlane-cli ([a-z].*)$/\1/p' <<<"$help")
command=""
while IFS= read -r line; do
    case $line in
        Exit\ status:*) break ;;
        "  "[a-z]*) command=${line:2} && command=${command%% *} ;;
    esac
    if [ -n "$command" ]; then
        options[$command]+=" $(grep -oE -- '(^| )--?[a-z][a-z0-9-]*' <<<"$line" || true)"
    fi
done < <(sed -n '/^Commands:/,$p' <<<"$help")
[ ${#options[@]} -ge 8 ] || fail "found only ${#options[@]} commands in --help"
offers "$cli " "${!options[@]}" --help --version
for command in "${!options[@]}"; do
    # shellcheck disable=SC2046 # one option a word
    offers "$cli $command -" $(printf '%s\n' ${options[$command]} | sort -u)
done

expect "$cli edit card.rom --tv " ntsc pal
expect "$cli edit card.rom -o out.rom --builtin-font " standard cyrillic
expect "$cli font-export card.rom out --format p" png psf
expect "$cli pad card.rom --chip-size " 32K 64K 128K
expect "$cli edit card.rom --engine-mhz " # a number to type: nothing to offer

# Files: in the folder the user is in, for FILE and for OUT.
mkdir "$work/files" && touch "$work/files/card.rom" "$work/files/cards.txt" "$work/files/other"
cd "$work/files"
expect "$cli info ca" card.rom cards.txt
expect "$cli edit card.rom -o c" card.rom cards.txt
expect "$cli read-card 0000:01:00.0 -o o" other

# Addresses of the cards vorlane-cli finds, here in a sysfs tree given with --sysfs.
sysfs=$work/sys
for card in 0000:01:00.0:0x5159 0000:02:00.0:0x5960 0000:03:00.0:0x0000; do
    folder=$sysfs/bus/pci/devices/${card%:*}
    mkdir -p "$folder"
    printf '%s\n' "${card##*:}" >"$folder/device"
    printf '0x1002\n' | tee "$folder/subsystem_vendor" >"$folder/vendor"
    printf '0x0008\n' >"$folder/subsystem_device"
    printf '0x030000\n' >"$folder/class"
done
printf '0x8086\n' >"$sysfs/bus/pci/devices/0000:03:00.0/vendor" # not an ATI card
expect "$cli read-card --sysfs $sysfs " 0000:01:00.0 0000:02:00.0
expect "$cli read-card -o out.rom --sysfs $sysfs 0000:0" 01:00.0 02:00.0
expect "$cli read-card --sysfs $sysfs 0000:02:00.0 --s" --shadow --sysfs
finish "bash completion offers what is expected"
