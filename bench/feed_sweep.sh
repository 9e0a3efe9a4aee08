#!/usr/bin/env bash
# Whole-process medians of a 201-step frequency sweep of the four-square of monopoles, 6.9 to
# 7.3 MHz, through its designed current-forcing network (75 ohm lines, matched to 50 ohm at
# 7.1 MHz) beside the same sweep without a network, run alternately in one run.
# Usage: bench/feed_sweep.sh [arraypattern-cli] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/arraypattern-cli}
runs=${2:-11}
work=$(mktemp -d /var/tmp/feed-sweep.XXXXXX)
trap 'rm -rf "$work"' EXIT
four=$root/examples/four-square-monopoles.txt
"$cli" design --goal feed --method current-forcing --frequency 7.1 --config "$four" \
    "$work/feed.net" >/dev/null
sweep=(sweep --config "$four" --vary frequency --frequency 7.1 --from 6.9 --to 7.3 --steps 201)
# Both sides must run to the end: a failing sweep would time its error path.
"$cli" "${sweep[@]}" --network "$work/feed.net" >"$work/fed.csv"
[[ $(wc -l <"$work/fed.csv") -eq 202 ]] && head -1 "$work/fed.csv" | grep -q tx_swr

source "$root/bench/timing.sh"

: >"$work/alone.t"
: >"$work/fed.t"
for ((n = 0; n < runs; n++)); do
    once "$cli" "${sweep[@]}" >>"$work/alone.t"
    once "$cli" "${sweep[@]}" --network "$work/feed.net" >>"$work/fed.t"
done
echo "sweep, 201 frequencies, without a network: $(median <"$work/alone.t") ms"
echo "sweep, 201 frequencies, through the network: $(median <"$work/fed.t") ms"
