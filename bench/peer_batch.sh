#!/usr/bin/env bash
# The batch against what a user would write instead: 1,000 files of eight dipoles through
# `pattern --format json` and through the numpy script of ../shared/peers (needs python3-numpy),
# side by side in one run, all files in one call of each. Prints both medians and the ratio, then
# the peak memory of one call over 10,000 files (the 1,000 given ten times each).
# Usage: bench/peer_batch.sh [arraypattern-cli] [peer script] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/arraypattern-cli}
peer=${2:-$root/../shared/peers/numpy_batch_pattern.py}
runs=${3:-5}
/usr/bin/python3 -c 'import numpy' 2>/dev/null || { echo "python3-numpy is missing" >&2; exit 1; }
work=$(mktemp -d /var/tmp/peer-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

files=()
for ((n = 0; n < 1000; n++)); do
    {
        printf '[\xc2\xf1\xe5 \xe8\xe7\xeb\xf3\xf7\xe0\xf2\xe5\xeb\xe8]\r\n\xd2\xe8\xef=2\r\n'
        for k in 1 2 3 4 5 6 7 8; do
            printf '[\xc8\xe7\xeb\xf3\xf7\xe0\xf2\xe5\xeb\xfc %d]\r\n\xc2\xea\xeb\xfe\xf7\xe5\xed=1\r\n' "$k"
            printf 'X=0.%03d\r\nY=-0.%03d\r\n\xd4\xe0\xe7\xe0=0.%03d\r\n' \
                $(((n * 7 + k * 131) % 1000)) $(((n * 13 + k * 71) % 1000)) $(((n + k * 37) % 1000))
        done
    } >"$work/c$n.txt"
    files+=("$work/c$n.txt")
done
batch=()
for f in "${files[@]}"; do batch+=(--config "$f"); done

ours=() theirs=()
for ((r = 0; r < runs; r++)); do
    start=${EPOCHREALTIME/[.,]/}
    "$cli" pattern --format json --decimal-mark . "${batch[@]}" >"$work/ours.jsonl"
    mid=${EPOCHREALTIME/[.,]/}
    # This machine's OpenBLAS settings slow a current numpy: the script runs without them.
    env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE /usr/bin/python3 "$peer" . "${files[@]}" \
        >"$work/theirs.jsonl"
    end=${EPOCHREALTIME/[.,]/}
    ours+=($((mid - start)))
    theirs+=($((end - mid)))
done
median() { printf '%s\n' "$@" | sort -n | awk '{t[NR] = $1} END {print t[int((NR + 1) / 2)]}'; }
a=$(median "${ours[@]}")
b=$(median "${theirs[@]}")
[[ $(wc -l <"$work/ours.jsonl") -eq 1000 && $(wc -l <"$work/theirs.jsonl") -eq 1000 ]] ||
    { echo "a side did not print 1000 lines" >&2; exit 1; }
awk -v a="$a" -v b="$b" 'BEGIN {
    printf "pattern --format json, 1000 files: %.3f s\n", a / 1e6
    printf "numpy script, same files:          %.3f s\n", b / 1e6
    printf "ratio (script / ours):             %.2fx\n", b / a }'

many=()
for ((r = 0; r < 10; r++)); do many+=("${batch[@]}"); done
/usr/bin/time -v "$cli" pattern --format json --decimal-mark . "${many[@]}" >/dev/null \
    2>"$work/time.txt"
awk -F': ' '/Maximum resident set size/ {
    printf "10000 files, peak memory:          %.1f MB\n", $2 / 1024 }' "$work/time.txt"
