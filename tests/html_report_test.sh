#!/usr/bin/env bash
# The HTML report in a real browser, headless Chromium with every network name unresolvable:
# the page loads without a console error, its charts are there, one set a file, and a drag on
# the 3-D view turns it. Usage: html_report_test.sh arraypattern-cli examples-dir
set -euo pipefail
cli=$1
examples=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v chromium >/dev/null || fail "chromium is missing: install Debian's package chromium"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cli" plot --kind report "$work/r.html" --decimal-mark , --model free-space \
    --config "$examples/four-square.txt" --config "$examples/cardioid.txt"
[[ $(grep -o 'class="chart polar" data-files="[0-9]*"' "$work/r.html" | wc -l) -eq 2 ]] ||
    fail "not one polar chart a file"
[[ $(grep -o 'class="chart rect" data-files="[0-9]*"' "$work/r.html" | wc -l) -eq 2 ]] ||
    fail "not one level chart a file"
if grep -q '\(src\|href\)="\(https\?:\|//\)' "$work/r.html"; then
    fail "the page refers to something outside itself"
fi
shot() {
    timeout 120 chromium --headless --no-sandbox --disable-gpu --enable-unsafe-swiftshader \
        --disable-quic --no-first-run --disable-background-networking --disable-component-update \
        --disable-sync "--host-resolver-rules=MAP * ~NOTFOUND" --user-data-dir="$work/profile" \
        --window-size=1200,2600 --virtual-time-budget=3000 --enable-logging=stderr --v=0 \
        --screenshot="$1" "file://$work/r.html$2" 2>"$1.log" || fail "chromium failed: $(tail -3 "$1.log")"
    [[ -s $1 ]] || fail "no screenshot"
    # The page's own messages; the software renderer's performance notes are not the page's.
    if grep 'CONSOLE' "$1.log" | grep -v 'GL Driver Message\|frames per second'; then
        fail "the page wrote to the console"
    fi
    if grep -q 'ERR_NAME_NOT_RESOLVED\|net::ERR' "$1.log"; then fail "the page asked the network"; fi
}
shot "$work/still.png" ""
shot "$work/turned.png" "#drag"
cmp -s "$work/still.png" "$work/turned.png" && fail "a drag does not turn the view"
echo "page $(stat -c %s "$work/r.html") bytes; still and turned views differ"
