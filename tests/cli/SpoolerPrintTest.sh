#!/usr/bin/env bash
# Prints the automobile report through fiscora-cli on a CUPS daemon of this test's own (configuration,
# spool and logs in a temporary folder, clients pointed at it through CUPS_SERVER) with a cups-pdf
# queue, and checks the printed PDF. A daemon that cannot start fails the test with its reason.
# usage: SpoolerPrintTest.sh FISCORA-CLI
set -euo pipefail

cli=$(realpath "$1")
queue=FiscoraPDF
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ "$(id -u)" -eq 0 ] || fail "the spooler test runs as root: cupsd drops to user lp, cups-pdf writes to root's home"
for tool in /usr/sbin/cupsd lpadmin lpstat pdfinfo pdftotext pdftoppm; do
    command -v "$tool" >/dev/null || fail "$tool is missing (tools/ensure-deps installs cups, printer-driver-cups-pdf and poppler-utils)"
done
[ -f "$ppd" ] || fail "$ppd is missing (printer-driver-cups-pdf)"

work=$(mktemp -d /tmp/fiscora-spooler.XXXXXX)
cupsd_pid=""
stop_daemon() {
    if [ -n "$cupsd_pid" ]; then
        kill "$cupsd_pid" 2>/dev/null || true
        wait "$cupsd_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap stop_daemon EXIT

root=$work/cups
mkdir -p "$root"/{run,spool,cache,state,tmp,log,ppd}
cat >"$root/cupsd.conf" <<CONF
Listen $root/run/cups.sock
LogLevel warn
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
CONF
cat >"$root/cups-files.conf" <<CONF
ServerRoot $root
RequestRoot $root/spool
CacheDir $root/cache
StateDir $root/state
TempDir $root/tmp
AccessLog $root/log/access_log
ErrorLog $root/log/error_log
PageLog $root/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
User lp
Group lp
SystemGroup root
CONF
chmod 755 "$work"
chown -R root:lp "$root"
chmod -R g+w "$root"

/usr/sbin/cupsd -f -c "$root/cupsd.conf" -s "$root/cups-files.conf" &
cupsd_pid=$!
export CUPS_SERVER=$root/run/cups.sock

for _ in $(seq 1 100); do
    kill -0 "$cupsd_pid" 2>/dev/null ||
        fail "cupsd did not start: $(cat "$root/log/error_log" 2>/dev/null || echo 'no error log')"
    lpstat -r 2>/dev/null | grep -q "is running" && break
    sleep 0.2
done
lpstat -r 2>/dev/null | grep -q "is running" ||
    fail "cupsd does not answer on $CUPS_SERVER: $(cat "$root/log/error_log" 2>/dev/null)"

lpadmin -p "$queue" -v cups-pdf:/ -E -P "$ppd" || fail "cannot add the cups-pdf queue"
lpadmin -d "$queue"
# Without it the printed PDF's text cannot be extracted.
lpadmin -p "$queue" -o pdftops-renderer-default=pdftocairo

listed=$("$cli" printers)
[ "$listed" = "$queue (default)" ] || fail "fiscora-cli printers listed '$listed'"

cd "$work"
"$cli" report --type 1 --placed 01/15/2017 --cost 145000 --fiscal-year-end 12/31/2017 \
    --description "Company car" --output car.fsn >/dev/null

# cups-pdf writes into the job owner's home, named after the job title.
out_dir=$(getent passwd "$(id -un)" | cut -d: -f6)/PDF
mkdir -p "$out_dir"

# Prints with the given options and echoes the PDF the job made, once the queue is empty.
print_and_wait() {
    local marker=$work/marker.$RANDOM
    touch "$marker"
    sleep 1 # file times have a one-second grain
    "$cli" print car.fsn "$@" >"$work/print.out" 2>&1 || fail "fiscora-cli print $* failed: $(cat "$work/print.out")"
    local pdf=""
    for _ in $(seq 1 300); do
        if [ -z "$(lpstat -o "$queue" 2>/dev/null)" ]; then
            pdf=$(find "$out_dir" -maxdepth 1 -name '*.pdf' -newer "$marker" -size +0 | head -n 1)
            [ -n "$pdf" ] && break
        fi
        sleep 0.2
    done
    [ -n "$pdf" ] || fail "no printed PDF after 60 seconds (print $*): $(cat "$root/log/error_log" 2>/dev/null)"
    # The file is complete when its size stops changing.
    local size=-1
    while [ "$size" != "$(stat -c %s "$pdf")" ]; do
        size=$(stat -c %s "$pdf")
        sleep 0.3
    done
    echo "$pdf"
}

pages_of() {
    pdfinfo "$1" | awk '/^Pages:/ { print $2 }'
}

pdf=$(print_and_wait)
grep -q "3 pages sent to $queue" "$work/print.out" || fail "print said: $(cat "$work/print.out")"
[ "$(pages_of "$pdf")" = 3 ] || fail "the printed report has $(pages_of "$pdf") pages, not 3"
text=$(pdftotext -layout "$pdf" -)
for expected in "Company car" "Automobile" '$145,000.00' "3,160.00" "5,100.00" "3,050.00" "1,875.00" \
    "565.00" "Total depreciation over 75 fiscal years" "Page 3 of 3"; do
    grep -qF "$expected" <<<"$text" || fail "the printed report lacks '$expected'"
done
# A page for the eye of a reviewer, when asked for.
if [ -n "${FISCORA_SPOOLER_PNG:-}" ]; then
    pdftoppm -png -r 60 -f 1 -l 1 "$pdf" "$FISCORA_SPOOLER_PNG"
fi
rm -f "$pdf"

pdf=$(print_and_wait --pages 2-3)
[ "$(pages_of "$pdf")" = 2 ] || fail "--pages 2-3 printed $(pages_of "$pdf") pages"
rm -f "$pdf"

pdf=$(print_and_wait --copies 2)
rm -f "$pdf"
# cups-pdf makes one file whatever the copies; the scheduler's page log counts 3 pages times 2 copies
# for the third job.
job_line=$(tail -n 1 "$root/log/page_log")
awk '{ exit !($3 == 3 && $6 == "total" && $7 == 6) }' <<<"$job_line" || fail "the last job's page log reads '$job_line'"

# Usage and printer errors send nothing.
set +e
"$cli" print car.fsn --printer NoSuchQueue 2>"$work/err"
status=$?
set -e
[ $status -eq 1 ] && grep -q "no printer 'NoSuchQueue'" "$work/err" || fail "an unknown printer gave $status: $(cat "$work/err")"
set +e
"$cli" print car.fsn --pages 4-5 2>"$work/err"
status=$?
set -e
[ $status -eq 1 ] && grep -q "the snapshot has 3 pages" "$work/err" || fail "--pages 4-5 gave $status: $(cat "$work/err")"
[ -z "$(lpstat -o "$queue")" ] || fail "a refused print left a job"
echo "spooler test passed"
