#!/usr/bin/env bash
# Runs the PostgreSQL cases of the book and command line tests against a PostgreSQL server of this
# test's own: a new cluster in a temporary folder, reached only through a Unix socket there, stopped
# by its process id when the test ends. A server that cannot start fails the test with its reason.
# usage: PostgresTest.sh BOOK-TESTS CLI-TESTS
set -euo pipefail

book_tests=$(realpath "$1")
cli_tests=$(realpath "$2")

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
[ -n "$bin" ] && [ -x "$bin/initdb" ] && [ -x "$bin/pg_ctl" ] ||
    fail "PostgreSQL's initdb and pg_ctl are missing (tools/ensure-deps installs postgresql)"

# The server refuses to run as root: it runs as the postgres user then.
as_server=()
if [ "$(id -u)" -eq 0 ]; then
    id postgres >/dev/null 2>&1 || fail "there is no postgres user to run the server as"
    as_server=(runuser -u postgres --)
fi

work=$(mktemp -d /tmp/fiscora-pg.XXXXXX)
server_pid=""
stop_server() {
    if [ -n "$server_pid" ]; then
        kill -INT "$server_pid" 2>/dev/null || true
        for _ in $(seq 1 100); do
            kill -0 "$server_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$server_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap stop_server EXIT

chmod 755 "$work"
mkdir "$work/data" "$work/sock"
[ ${#as_server[@]} -eq 0 ] || chown postgres "$work/data" "$work/sock"
chmod 700 "$work/data"

"${as_server[@]}" "$bin/initdb" -D "$work/data" -U fiscora --auth=trust -E UTF8 --locale=C.UTF-8 \
    >"$work/initdb.log" 2>&1 || fail "initdb failed: $(cat "$work/initdb.log")"
"${as_server[@]}" "$bin/pg_ctl" -D "$work/data" -l "$work/data/server.log" -w -t 60 \
    -o "-k $work/sock -c listen_addresses='' -c fsync=off" start >/dev/null ||
    fail "the server did not start: $(cat "$work/data/server.log" 2>/dev/null || echo 'no log')"
server_pid=$(head -1 "$work/data/postmaster.pid")

export FISCORA_TEST_POSTGRES="host=$work/sock port=5432 user=fiscora"
export QT_QPA_PLATFORM=offscreen

# Each program must run its PostgreSQL cases, and all of them must pass.
for program in "$book_tests" "$cli_tests"; do
    output=$("$program" --gtest_filter='Postgres*' 2>&1) || {
        echo "$output"
        fail "$(basename "$program") failed on PostgreSQL"
    }
    echo "$output" | grep -E '^\[  PASSED  \] [1-9][0-9]* test' >/dev/null || {
        echo "$output"
        fail "$(basename "$program") ran no PostgreSQL case"
    }
    ! echo "$output" | grep -E '^\[  SKIPPED \]' >/dev/null || {
        echo "$output"
        fail "$(basename "$program") skipped PostgreSQL cases"
    }
    echo "$output" | grep -E '^\[(  PASSED  |==========)\]'
done
