#!/usr/bin/env bash
# Whole-process medians of the command line against nec2c on the same array, run alternately
# in one run so that both meet the same machine. The array: eight upright 0.48-wavelength
# dipoles on a 2 x 4 grid a quarter wavelength apart, 0.5 wavelength over average ground at
# 7.1 MHz. nec2c runs the deck `arraypattern-cli nec` writes for it, with the reflection-
# coefficient ground (GN 0) and one 361-point pattern card, as a user would, and the command
# line the same ground model.
# Usage: bench/wires_against_nec.sh [arraypattern-cli] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/arraypattern-cli}
runs=${2:-21}
command -v nec2c >/dev/null || { echo "nec2c is missing: install Debian's nec2c" >&2; exit 1; }
work=$(mktemp -d /var/tmp/wires-nec.XXXXXX)
trap 'rm -rf "$work"' EXIT

eight=$work/eight.txt
{
    printf '[\xc2\xf1\xe5 \xe8\xe7\xeb\xf3\xf7\xe0\xf2\xe5\xeb\xe8]\r\n\xd2\xe8\xef=1\r\n'
    printf '\xc7\xe5\xec\xeb\xff=2\r\n\xc2\xfb\xf1\xee\xf2\xe0=0,5\r\n\xd7\xe0\xf1\xf2\xee\xf2\xe0=7,1\r\n'
    printf '\xcf\xf0\xee\xed\xe8\xf6\xe0\xe5\xec\xee\xf1\xf2\xfc=13\r\n\xcf\xf0\xee\xe2\xee\xe4\xe8\xec\xee\xf1\xf2\xfc=0,005\r\n'
    for k in 1 2 3 4 5 6 7 8; do
        x=$(awk "BEGIN {print ((($k - 1) % 4) * 0.25 - 0.375)}" | tr . ,)
        y=$(awk "BEGIN {print (int(($k - 1) / 4) * 0.25 - 0.125)}" | tr . ,)
        phase=$(awk "BEGIN {print 0.1 * $k}" | tr . ,)
        printf '[\xc8\xe7\xeb\xf3\xf7\xe0\xf2\xe5\xeb\xfc %d]\r\n\xc2\xea\xeb\xfe\xf7\xe5\xed=1\r\n' "$k"
        printf 'X=%s\r\nY=%s\r\n\xd4\xe0\xe7\xe0=%s\r\n\xc4\xeb\xe8\xed\xe0=0,48\r\n' "$x" "$y" "$phase"
    done
} >"$eight"
"$cli" nec --config "$eight" "$work/eight.nec"
sed -e 's/^GN 2 /GN 0 /' -e '/^RP 0 91 /d' -e 's/^RP 0 1 360 /RP 0 1 361 /' \
    "$work/eight.nec" >"$work/gn0.nec"
grep -q '^GN 0 ' "$work/gn0.nec" && grep -q '^RP 0 1 361 ' "$work/gn0.nec"

source "$root/bench/timing.sh"

: >"$work/nec.t"
: >"$work/cli.t"
: >"$work/start.t"
for ((n = 0; n < runs; n++)); do
    once nec2c -i "$work/gn0.nec" -o "$work/out.txt" >>"$work/nec.t"
    once "$cli" pattern --format json --config "$eight" --ground-model reflection >>"$work/cli.t"
    once "$cli" --version >>"$work/start.t"
done
nec=$(median <"$work/nec.t")
cli_ms=$(median <"$work/cli.t")
echo "nec2c:                         $nec ms"
echo "arraypattern-cli pattern json: $cli_ms ms  (nec2c / it: $(awk "BEGIN {printf \"%.2f\", $nec / $cli_ms}"))"
echo "arraypattern-cli --version:    $(median <"$work/start.t") ms"
