#!/usr/bin/env bash
# Kills `fiscora-cli book import` with SIGKILL at random moments, again and again, and checks after
# each kill that the book holds exactly the assets it held before the import or all of them after
# it, never some, and that the file is a sound database. Bounded in kills and in time.
# usage: BookKillTest.sh FISCORA-CLI
set -euo pipefail

cli=$(realpath "$1")
kills=25
seconds=120
rows=20000

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

work=$(mktemp -d /tmp/fiscora-kill.XXXXXX)
trap 'rm -rf "$work"' EXIT
book=$work/firm.fbook
"$cli" book create "$book" --name "Kill test" >/dev/null
printf 'asset_number,description,placed,cost\nB-1,Desk,03/01/2026,1000\nB-2,"Chair, oak",03/02/2026,250\n' >"$work/base.csv"
"$cli" book import "$book" "$work/base.csv" >/dev/null
cp "$book" "$work/base.fbook"
seq 1 "$rows" | awk '{ print "Asset " $1 ",0,03/01/2026," 1000 + $1 }' | sed '1i description,type,placed,cost' >"$work/big.csv"

count() {
    "$cli" book list "$book" --format csv | tail -n +2 | wc -l
}

sound() {
    if command -v sqlite3 >/dev/null; then
        [ "$(sqlite3 "$book" 'PRAGMA integrity_check')" = ok ]
    fi
}

# How long one import takes, so that the kills fall before, during and after its transaction.
start=$(date +%s%N)
"$cli" book import "$book" "$work/big.csv" >/dev/null
duration_ms=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$(count)" -eq $((2 + rows)) ] || fail "the import itself did not add $rows assets"
cp "$work/base.fbook" "$book"

before=2
between=0
completed=0
deadline=$(( $(date +%s) + seconds ))
for kill_number in $(seq 1 "$kills"); do
    [ "$(date +%s)" -lt "$deadline" ] || break
    "$cli" book import "$book" "$work/big.csv" >/dev/null 2>&1 &
    pid=$!
    delay_ms=$(( RANDOM % (duration_ms + duration_ms / 5 + 1) ))
    sleep "$(awk -v ms="$delay_ms" 'BEGIN { printf "%.3f", ms / 1000 }')"
    kill -KILL "$pid" 2>/dev/null || true
    status=0
    wait "$pid" 2>/dev/null || status=$?
    after=$(count) || fail "kill $kill_number (after ${delay_ms} ms): the book cannot be read"
    sound || fail "kill $kill_number (after ${delay_ms} ms): the book failed its integrity check"
    if [ "$after" -eq "$before" ]; then
        [ "$status" -eq 0 ] && fail "kill $kill_number: the import succeeded but added nothing"
        between=$((between + 1))
    elif [ "$after" -eq $((before + rows)) ]; then
        completed=$((completed + 1))
        cp "$work/base.fbook" "$book"
    else
        fail "kill $kill_number (after ${delay_ms} ms): the book holds $after assets, neither $before nor $((before + rows))"
    fi
done
echo "import of $rows rows: ${duration_ms} ms; killed $between times before it committed, $completed imports complete"
[ $((between + completed)) -gt 0 ] || fail "no kill was tried"
