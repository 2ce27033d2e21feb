#!/usr/bin/env bash
# The bash completion of kovahdd as a person pressing Tab meets it, and held against what
# `kovahdd --help` names: every option of every command, and each value of an option that lists its
# values (--model hd|pj), so that the completion cannot fall behind the program.
#   completiontest.sh KOVAHDD COMPLETION_FILE
set -uo pipefail
program=$(realpath "$1")
source /usr/share/bash-completion/bash_completion
source "$2"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/device" "$work/sys" "$work/config" "$work/home/Music Folder"
# One jukebox, at E:, and no other drive of this machine.
export PATH="$(dirname "$program"):$PATH" XDG_CONFIG_HOME="$work/config" KOVAHDD_SYSFS="$work/sys" \
    KOVAHDD_DRIVES="E=$work/device|Corvane|Kova HD Storage"
cd "$work/home" || exit 1

# The answers to a Tab at the end of LINE, one a line.
answers()
{
    local line=$1 COMP_LINE=$1 COMP_POINT=${#1} COMP_WORDS COMP_CWORD
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _kovahdd kovahdd "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}"
}

checks=0
failures=0
# offers LINE WORD...: a Tab at the end of LINE offers each WORD.
offers()
{
    local line=$1 offered
    shift
    offered=$(answers "$line")
    for word; do
        checks=$((checks + 1))
        if ! grep -qxF -- "$word" <<<"$offered"; then
            failures=$((failures + 1))
            echo "'$line' does not offer '$word'; it offers: $(tr '\n' ' ' <<<"$offered")"
        fi
    done
}

checks=$((checks + 1))
complete -p kovahdd >/dev/null || { failures=$((failures + 1)); echo "no completion is set for kovahdd"; }

offers 'kovahdd sy' sync
offers 'kovahdd ' profile update verify devices sync --help --version
offers 'kovahdd sync ' show add remove set run
offers 'kovahdd sync run --conflicts ' ask pc device skip
offers 'kovahdd profile ' E: 'Music Folder'
offers 'kovahdd verify E' E:
offers 'kovahdd sync set --device ' E
offers 'kovahdd sync add Mu' 'Music Folder'

# Each option --help names, with the command (and sync's action) in whose lines it is named, and
# the values it lists: "verify\t--remove-all\t", "update\t--model\thd|pj".
options_of_help()
{
    "$program" --help | awk '
        /^[^ ]/ { context = "none" }
        /^  or:  kovahdd / { context = "" }
        /^  kovahdd [a-z]/ { context = $2 }
        /^        [a-z]/ && context ~ /^sync/ { context = "sync " $1 }
        context != "none" {
            line = $0
            while (match(line, /--[a-z][a-z-]*( [a-z-]+(\|[a-z-]+)+)?/)) {
                split(substr(line, RSTART, RLENGTH), token, " ")
                print context "\t" token[1] "\t" token[2]
                line = substr(line, RSTART + RLENGTH)
            }
        }'
}
named=0
while IFS=$'\t' read -r context option values; do
    named=$((named + 1))
    offers "kovahdd ${context:+$context }--" "$option"
    [ -z "$values" ] || offers "kovahdd ${context:+$context }$option " ${values//|/ }
done < <(options_of_help)
if [ "$named" -lt 10 ]; then
    failures=$((failures + 1))
    echo "only $named options read from kovahdd --help: has its layout changed?"
fi

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
