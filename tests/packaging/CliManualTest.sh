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

# The text of one command's section of the manual page, as roff source with "\-" read as "-"; with a
# sub-command, only the sub-command's part of it: from its synopsis (".B fiscora-cli book list") to
# the next sub-command's.
section_of() {
    awk -v name="$1" '$1 == ".SS" { inside = ($2 == name); next } $1 == ".SH" { inside = 0 } inside' "$page" |
        sed 's/\\-/-/g' |
        if [ $# -eq 1 ]; then
            cat
        else
            awk -v command="$1" -v name="$2" '
                $1 == ".B" && $2 == "fiscora-cli" && $3 == command && NF == 4 { inside = ($4 == name); next }
                inside'
        fi
}

# What bash completes for the words given, the last one being completed, with the fiscora-cli under
# test on the PATH (the completion runs it for some values).
complete_words() {
    PATH=$(dirname "$cli"):$PATH bash --norc --noprofile -c '
        source "$1"
        source "$2"
        shift 2
        COMP_WORDS=("$@")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMP_LINE="${COMP_WORDS[*]}"
        COMP_POINT=${#COMP_LINE}
        _fiscora_cli fiscora-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        [ ${#COMPREPLY[@]} -eq 0 ] || printf "%s\n" "${COMPREPLY[@]}"' completion "$bash_completion" "$completion" "$@"
}

# The first words of a listing in a usage text: "commands:" or "sub-commands:" up to a blank line.
listing() {
    awk -v heading="$1" '$0 == heading { listing = 1; next } listing && NF == 0 { exit } listing { print $1 }'
}

# The options a usage synopsis names: its "usage:" line and the lines that continue it. The text
# below may name options that are refused (book add explains that --fiscal-year-end is not taken).
synopsis_options() {
    "$cli" "$@" --help | awk 'NR == 1 || /^   / { print; next } { exit }' | grep -o -- '--[a-z][a-z-]*' | sort -u ||
        true
}

commands=$("$cli" --help | listing commands:)
[ -n "$commands" ] || fail "fiscora-cli --help lists no command"
completed_commands=$(complete_words fiscora-cli "")
# Each command, or each sub-command of a command that has them ("book list"), with its options.
checked=()
for command in $commands; do
    grep -qx "$command" <<<"$completed_commands" || fail "the completion does not offer the command $command"
    [ -n "$(section_of "$command")" ] || { fail "the manual page has no section for $command"; continue; }
    subcommands=$("$cli" "$command" --help | listing sub-commands:)
    if [ -z "$subcommands" ]; then
        checked+=("$command")
        continue
    fi
    completed=$(complete_words fiscora-cli "$command" "")
    for subcommand in $subcommands; do
        grep -qx "$subcommand" <<<"$completed" || fail "the completion of $command does not offer $subcommand"
        checked+=("$command $subcommand")
    done
    for offered in $completed; do
        grep -qx -- "$offered" <<<"$subcommands"$'\n--help\n-h' ||
            fail "the completion of $command offers $offered, which it does not take"
    done
done
for entry in "${checked[@]}"; do
    read -ra words <<<"$entry"
    section=$(section_of "${words[@]}")
    [ -n "$section" ] || { fail "the manual page has no part for ${words[*]}"; continue; }
    options=$(synopsis_options "${words[@]}")
    completed=$(complete_words fiscora-cli "${words[@]}" --)
    for option in $options; do
        grep -qF -- "$option" <<<"$section" || fail "the manual page's ${words[*]} part lacks $option"
        grep -qx -- "$option" <<<"$completed" || fail "the completion of ${words[*]} lacks $option"
    done
    # And nothing the command does not know.
    for option in $completed; do
        [ "$option" = --help ] && continue
        grep -qx -- "$option" <<<"$options" || fail "the completion of ${words[*]} offers $option, which it does not take"
    done
done

# Values and files, completed in a folder with a book of one asset of 2026 (5 years, half-year: rows
# 2026 to 2031), a CSV file and another file.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cli" book create "$work/a.fbook" --name Test >/dev/null &&
    "$cli" book add "$work/a.fbook" --placed 03/01/2026 --cost 1000 >/dev/null ||
    fail "cannot make the book to complete in"
touch "$work/b.csv" "$work/c.txt"
years="2026 2027 2028 2029 2030 2031"
# The words before the one completed (always empty) | what it completes to, sorted by number, then
# by text.
while IFS='|' read -r before expected; do
    read -ra before <<<"$before"
    got=$(cd "$work" && complete_words fiscora-cli "${before[@]}" "" | sort -n | paste -sd ' ')
    [ "$got" = "$expected" ] || fail "fiscora-cli ${before[*]} completes to \"$got\", not \"$expected\""
done <<EOF
schedule --format|csv json text
report --format|fsn html pdf
export --format|html pdf
schedule --type|0 1 2 3 4 5
book add a.fbook --type|0 1 2 3 4 5
book list a.fbook --format|csv json text
book totals a.fbook --format|csv json text
book form4562 a.fbook --format|csv json text
book create x.fbook --year-end-month|1 2 3 4 5 6 7 8 9 10 11 12
book list a.fbook --tax-year|$years
book list 'a.fbook' --tax-year|$years
book form4562 --format csv a.fbook --tax-year|$years
book form4562 missing.fbook --tax-year|
book list|a.fbook
book totals --format csv|a.fbook
book list --tax-year 2026|a.fbook
book import a.fbook|b.csv
book remove a.fbook|
book import a.fbook b.csv|
dump|
EOF

[ $failures -eq 0 ] || exit 1
echo "the manual page and the completion cover every command and option"
