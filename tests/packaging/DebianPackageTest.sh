#!/usr/bin/env bash
# Builds the Debian package from the build tree (cpack), checks it with lintian, desktop-file-validate
# and appstreamcli, installs it with apt-get, writes a report PDF from an empty folder and a book file
# with the installed fiscora-cli, and removes the package again, also when a check fails. Installing
# needs root (CI runs as root); as any other user the test fails and says so.
# usage: DebianPackageTest.sh BUILD-DIR SOURCE-DIR
set -euo pipefail

build_dir=$(realpath "$1")
source_dir=$(realpath "$2")

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ "$(id -u)" -eq 0 ] ||
    fail "this test installs and removes the fiscora package, so it runs as root (as CI does); run it as root: ctest -R DebianPackage"
for tool in cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli apt-get pdfinfo pdftotext \
    rsvg-convert; do
    command -v "$tool" >/dev/null || fail "$tool is missing (tools/ensure-deps installs it)"
done
if dpkg-query -W -f='${Status}' fiscora 2>/dev/null | grep -q 'install ok installed'; then
    fail "a fiscora package is installed already; this test would replace and then remove it"
fi

work=$(mktemp -d /tmp/fiscora-package.XXXXXX)
# apt's download user reads the package from here.
chmod 755 "$work"
installed=false
clean_up() {
    if $installed; then
        dpkg --purge fiscora >/dev/null || echo "WARNING: could not remove the fiscora package" >&2
    fi
    rm -rf "$work"
}
trap clean_up EXIT

# The same inputs and SOURCE_DATE_EPOCH give the same package bytes.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null || echo 1767225600)}
for run in 1 2; do
    cpack --config "$build_dir/CPackConfig.cmake" -B "$work/cpack$run" >"$work/cpack$run.log" 2>&1 ||
        fail "cpack failed: $(cat "$work/cpack$run.log")"
done
debs=("$work"/cpack1/fiscora_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single fiscora_*.deb: $(ls "$work/cpack1")"
deb=$work/$(basename "${debs[0]}")
mv "${debs[0]}" "$deb"
cmp -s "$deb" "$work"/cpack2/fiscora_*.deb || fail "two package runs with SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH differ"

# The control fields and the layout.
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = fiscora ] || fail "Package: $(field Package)"
for name in Maintainer Section Description; do
    [ -n "$(field "$name")" ] || fail "the package has no $name field"
done
grep -q 'libqt6widgets6' <<<"$(field Depends)" || fail "Depends lacks the Qt libraries: $(field Depends)"
# Qt loads its SQL drivers as plugins, out of dpkg-shlibdeps' sight.
grep -qw 'libqt6sql6-sqlite' <<<"$(field Depends)" || fail "Depends lacks the SQLite driver of books: $(field Depends)"
grep -qw 'libqt6sql6-psql' <<<"$(field Recommends)" ||
    fail "Recommends lacks the PostgreSQL driver of shared books: $(field Recommends)"
contents=$(dpkg-deb --contents "$deb" | awk '{ print $NF }' | sed 's|^\./|/|')
app_id=$(sed -n 's/^Icon=//p' <(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - --wildcards './usr/share/applications/*.desktop'))
for path in /usr/bin/fiscora /usr/bin/fiscora-cli /usr/share/fiscora/Amortix.fol /usr/share/fiscora/Amortix.html \
    /usr/share/doc/fiscora/copyright /usr/share/doc/fiscora/changelog.Debian.gz /usr/share/man/man1/fiscora.1.gz \
    /usr/share/man/man1/fiscora-cli.1.gz /usr/share/bash-completion/completions/fiscora-cli \
    /usr/share/mime/packages/fiscora.xml /usr/share/lintian/overrides/fiscora "/usr/share/applications/$app_id.desktop" \
    "/usr/share/metainfo/$app_id.metainfo.xml" "/usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
    "/usr/share/icons/hicolor/48x48/apps/$app_id.png" \
    /usr/share/icons/hicolor/scalable/mimetypes/application-x-fiscora-snapshot.svg \
    /usr/share/icons/hicolor/256x256/mimetypes/application-x-fiscora-book.png; do
    grep -qxF "$path" <<<"$contents" || fail "the package lacks $path"
done

# The committed PNG icons are those their SVGs render to.
"$source_dir/packaging/icons/render-icons" --check || fail "the PNG icons are out of date"

# lintian: no errors and no warnings. What cannot be helped is overridden in the package itself
# (packaging/lintian-overrides), each override with its reason; info tags are shown, not failed on.
started=$(date +%s)
lintian_status=0
lintian_output=$(lintian --fail-on error,warning --display-info "$deb" 2>&1) || lintian_status=$?
lintian_output=$(grep -v '^running with root privileges' <<<"$lintian_output" || true)
[ $lintian_status -eq 0 ] || fail "lintian: $lintian_output"
echo "lintian ($(($(date +%s) - started)) s): ${lintian_output:-clean}"

mkdir "$work/root"
dpkg-deb --extract "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/$app_id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --explain "$work/root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli validate"

apt_log=$work/apt.log
installed=true
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$deb" >"$apt_log" 2>&1 ||
    fail "apt-get install: $(cat "$apt_log")"
[ -x /usr/bin/fiscora ] && [ -x /usr/bin/fiscora-cli ] || fail "the programs are not in /usr/bin"

# The installed tool in a folder without any data file: the template comes from /usr/share/fiscora.
empty=$work/empty
mkdir "$empty"
(cd "$empty" && /usr/bin/fiscora-cli report --description "Company car" --type 1 --placed 01/15/2017 \
    --cost 145000 --fiscal-year-end 12/31/2017 --output x.pdf) >"$work/report.log" 2>&1 ||
    fail "the installed fiscora-cli report failed: $(cat "$work/report.log")"
[ "$(pdfinfo "$empty/x.pdf" | awk '/^Pages:/ { print $2 }')" = 3 ] || fail "x.pdf: $(pdfinfo "$empty/x.pdf" 2>&1)"
text=$(pdftotext -layout "$empty/x.pdf" -)
for expected in "Company car" "Automobile" '$145,000.00' "Page 3 of 3"; do
    grep -qF "$expected" <<<"$text" || fail "x.pdf lacks '$expected'"
done
[ "$(ls "$empty")" = x.pdf ] || fail "the report left other files: $(ls "$empty")"
# A book file through the system's SQLite driver.
book=$work/firm.fbook
{ /usr/bin/fiscora-cli book create "$book" --name Firm &&
    /usr/bin/fiscora-cli book add "$book" --placed 03/01/2026 --cost 10000 &&
    /usr/bin/fiscora-cli book totals "$book" --format csv; } >"$work/book.log" 2>&1 ||
    fail "the installed fiscora-cli book failed: $(cat "$work/book.log")"
grep -qx '2026,0.00,2000.00,2000.00' "$work/book.log" || fail "the book's totals: $(cat "$work/book.log")"

# The triggers of shared-mime-info and desktop-file-utils ran on the installed files.
grep -q '^50:application/x-fiscora-snapshot:\*\.fsn$' /usr/share/mime/globs2 || fail "*.fsn is not a registered file type"
grep -q '^50:application/x-fiscora-book:\*\.fbook$' /usr/share/mime/globs2 || fail "*.fbook is not a registered file type"
if [ -f /usr/share/applications/mimeinfo.cache ]; then
    grep -q "^application/x-fiscora-snapshot=.*$app_id.desktop" /usr/share/applications/mimeinfo.cache ||
        fail "snapshots do not open with $app_id.desktop"
fi
# bash loads the installed completion on demand.
if [ -f /usr/share/bash-completion/bash_completion ]; then
    bash --norc --noprofile -c 'source /usr/share/bash-completion/bash_completion
        __load_completion fiscora-cli && complete -p fiscora-cli' >/dev/null ||
        fail "bash does not find the completion of fiscora-cli"
fi

dpkg --purge fiscora >"$apt_log" 2>&1 || fail "dpkg --purge fiscora: $(cat "$apt_log")"
installed=false
[ ! -e /usr/bin/fiscora-cli ] && [ ! -e /usr/share/fiscora ] || fail "removing the package left its files"
echo "the Debian package builds, passes its checks, installs, works and is removed"
