#!/usr/bin/env bash
# The manual page and the bash completion of fiscora-cli against the program itself: every command
# that `fiscora-cli --help` lists, and every option its `--help` shows, must be in the command's
# section of the manual page and be completed; the page must format without a warning.
# usage: CliManualTest.sh FISCORA-CLI SOURCE-DIR
set -euo pipefail

cli=$(realpath "$1")
source_dir=$(realpath "$2")
page=$source_dir/packaging/man/fiscora-cli.1
completion=$source_dir/packaging/fiscora-cli.bash-completion
bash_completion=/usr/share/bash-completion/bash_completion
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

for tool in groff; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/ensure-deps installs it)" >&2; exit 1; }
done
[ -f "$bash_completion" ] || { echo "FAIL: $bash_completion is missing (bash-completion)" >&2; exit 1; }

for man_page in "$page" "$source_dir/packaging/man/fiscora.1"; do
    warnings=$(groff -man -ww -z "$man_page" 2>&1) || fail "groff failed on $man_page"
    [ -z "$warnings" ] || fail "$man_page: $warnings"
done

# The text of one command's section of the manual page, as roff source with "\-" read as "-".
section_of() {
    awk -v name="$1" '$1 == ".SS" { inside = ($2 == name); next } $1 == ".SH" { inside = 0 } inside' "$page" |
        sed 's/\\-/-/g'
}

# What bash completes for the words given, the last one being completed.
complete_words() {
    bash --norc --noprofile -c '
        source "$1"
        source "$2"
        shift 2
        COMP_WORDS=("$@")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMP_LINE="${COMP_WORDS[*]}"
        COMP_POINT=${#COMP_LINE}
        _fiscora_cli fiscora-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        printf "%s\n" "${COMPREPLY[@]}"' completion "$bash_completion" "$completion" "$@"
}

commands=$("$cli" --help | awk '/^commands:/ { listing = 1; next } listing && NF == 0 { exit } listing { print $1 }')
[ -n "$commands" ] || fail "fiscora-cli --help lists no command"
completed_commands=$(complete_words fiscora-cli "")
for command in $commands; do
    grep -qx "$command" <<<"$completed_commands" || fail "the completion does not offer the command $command"
    section=$(section_of "$command")
    [ -n "$section" ] || { fail "the manual page has no section for $command"; continue; }
    options=$("$cli" "$command" --help | grep -o -- '--[a-z][a-z-]*' | sort -u || true)
    completed=$(complete_words fiscora-cli "$command" --)
    for option in $options; do
        grep -qF -- "$option" <<<"$section" || fail "the manual page's $command section lacks $option"
        grep -qx -- "$option" <<<"$completed" || fail "the completion of $command lacks $option"
    done
    # And nothing the command does not know.
    for option in $completed; do
        [ "$option" = --help ] && continue
        grep -qx -- "$option" <<<"$options" || fail "the completion of $command offers $option, which it does not take"
    done
done

# Option values the usage texts name.
[ "$(complete_words fiscora-cli schedule --format "" | sort | tr '\n' ' ')" = "csv json text " ] ||
    fail "schedule --format completes to: $(complete_words fiscora-cli schedule --format "")"
[ "$(complete_words fiscora-cli report --format "" | sort | tr '\n' ' ')" = "fsn html pdf " ] ||
    fail "report --format completes to: $(complete_words fiscora-cli report --format "")"
[ "$(complete_words fiscora-cli schedule --type "" | tr '\n' ' ')" = "0 1 2 3 4 5 " ] ||
    fail "--type completes to: $(complete_words fiscora-cli schedule --type "")"

[ $failures -eq 0 ] || exit 1
echo "the manual page and the completion cover every command and option"
