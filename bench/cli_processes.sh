#!/usr/bin/env bash
# Whole-process medians of the command line, the figures a script calling it waits for.
# Usage: bench/cli_processes.sh [arraypattern-cli] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/arraypattern-cli}
runs=${2:-21}
work=$(mktemp -d /var/tmp/cli-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Microseconds of each run of the command (bash's own clock, no process of its own), then
# their median in milliseconds.
median() {
    local times=() start end
    for ((n = 0; n < runs; n++)); do
        start=${EPOCHREALTIME/[.,]/}
        "$@" >/dev/null
        end=${EPOCHREALTIME/[.,]/}
        times+=($((end - start)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{t[NR] = $1} END {printf "%.2f ms\n", t[int((NR + 1) / 2)] / 1000}'
}

# Eight short dipoles spread over a wavelength, as a full array is drawn.
eight=$work/eight.txt
{
    printf '[\xc2\xf1\xe5 \xe8\xe7\xeb\xf3\xf7\xe0\xf2\xe5\xeb\xe8]\r\n\xd2\xe8\xef=2\r\n'
    for k in 1 2 3 4 5 6 7 8; do
        printf '[\xc8\xe7\xeb\xf3\xf7\xe0\xf2\xe5\xeb\xfc %d]\r\n\xc2\xea\xeb\xfe\xf7\xe5\xed=1\r\n' "$k"
        printf 'X=%s\r\nY=%s\r\n\xd4\xe0\xe7\xe0=%s\r\n' "$(awk "BEGIN {print 0.125 * $k - 0.5}")" \
            "$(awk "BEGIN {print 0.0625 * (($k * 5) % 8) - 0.25}")" "$(awk "BEGIN {print 0.1 * $k}")"
    done
} >"$eight"
batch=()
for ((n = 0; n < 1000; n++)); do
    cp "$eight" "$work/c$n.txt"
    batch+=(--config "$work/c$n.txt")
done

echo "pattern --format json (initial array):          $(median "$cli" pattern --format json)"
echo "pattern --format json (8 dipoles, every figure): $(median "$cli" pattern --format json --decimal-mark . --config "$eight")"
echo "export (fsync included):                         $(median "$cli" export "$work/e.bmp")"
for ext in png svg pdf; do
    echo "plot --kind diagram .$ext:                       $(median "$cli" plot --kind diagram "$work/d.$ext")"
done
for ext in pdf svg png; do
    echo "plot --kind report .$ext:                        $(median "$cli" plot --kind report --decimal-mark . --config "$eight" "$work/r.$ext")"
done
ground=(--config "$root/examples/four-square-over-average-ground.txt" --config "$root/examples/dipole-pair-over-ground.txt")
echo "plot --kind report .html, 2 files over ground:   $(median "$cli" plot --kind report "${ground[@]}" "$work/r.html")"
runs=3
echo "pattern --format json, 1000 files:               $(median "$cli" pattern --format json --decimal-mark . "${batch[@]}")"
