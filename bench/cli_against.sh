#!/usr/bin/env bash
# Whole-process medians of two builds of the command line, run alternately in one run so that
# both meet the same machine: the figures a change must not make worse.
# Usage: bench/cli_against.sh OLD-arraypattern-cli NEW-arraypattern-cli [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
old=$1
new=$2
runs=${3:-41}
work=$(mktemp -d /var/tmp/cli-against.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Microseconds of one run.
once() {
    local start end
    start=${EPOCHREALTIME/[.,]/}
    "$@" >/dev/null 2>&1 || true
    end=${EPOCHREALTIME/[.,]/}
    echo $((end - start))
}

median() { sort -n | awk '{t[NR] = $1} END {printf "%.2f", t[int((NR + 1) / 2)] / 1000}'; }

# Both builds, alternately, the same arguments; the medians in milliseconds and their ratio.
compare() {
    local name=$1 n
    shift
    : >"$work/old.t"
    : >"$work/new.t"
    for ((n = 0; n < runs; n++)); do
        once "$old" "$@" >>"$work/old.t"
        once "$new" "$@" >>"$work/new.t"
    done
    local a b
    a=$(median <"$work/old.t")
    b=$(median <"$work/new.t")
    printf '%-44s old %8s ms   new %8s ms   new/old %s\n' "$name" "$a" "$b" \
        "$(awk "BEGIN {printf \"%.2f\", $b / $a}")"
}

# 10 MB of sections no reader knows: 106,000 warnings.
python3 -c "
import sys
with open('$work/unknown.txt', 'wb') as f:
    f.write(b'[\xc2\xf1\xe5 \xe8\xe7\xeb\xf3\xf7\xe0\xf2\xe5\xeb\xe8]\r\n\xd2\xe8\xef=0\r\n')
    f.write(b''.join(b'[Unknown section number %09d of a long file of them]\r\n' % k for k in range(106000))[:10_000_000])
"

compare "pattern --format json four-square" pattern --format json --config "$root/examples/four-square.txt"
compare "pattern --format json over average ground" pattern --format json \
    --config "$root/examples/four-square-over-average-ground.txt"
compare "export (fsync included)" export "$work/e.bmp"
runs=5
compare "pattern, 10 MB of unknown sections" pattern --config "$work/unknown.txt"
