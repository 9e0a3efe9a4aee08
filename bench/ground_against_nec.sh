#!/usr/bin/env bash
# Whole-process medians over real ground close under the wires, the command line against
# nec2c's Sommerfeld-Norton ground (GN 2) on the same wires, run alternately in one run. The
# array: eight west-east 0.48-wavelength dipoles, voltage-fed, on a 2 x 4 grid, four rows a
# quarter wavelength apart north-south and two columns 0.6 wavelength apart west-east (at a
# quarter wavelength two wires of a row would overlap), 0.1 wavelength over average soil
# (13, 0.005 S/m) at 7.1 MHz. nec2c runs the deck `arraypattern-cli nec` writes, with one
# 361-point pattern card; the sweep is 41 frequencies, 6.9 to 7.3 MHz, nec2c's an FR card of
# 41 steps with the currents only.
# Usage: bench/ground_against_nec.sh [arraypattern-cli] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/arraypattern-cli}
runs=${2:-21}
command -v nec2c >/dev/null || { echo "nec2c is missing: install Debian's nec2c" >&2; exit 1; }
work=$(mktemp -d /var/tmp/ground-nec.XXXXXX)
trap 'rm -rf "$work"' EXIT

eight=$work/eight.txt
{
    printf '[\xc2\xf1\xe5 \xe8\xe7\xeb\xf3\xf7\xe0\xf2\xe5\xeb\xe8]\r\n\xd2\xe8\xef=2\r\n\xcf\xe8\xf2\xe0\xed\xe8\xe5=1\r\n'
    printf '\xc7\xe5\xec\xeb\xff=2\r\n\xc2\xfb\xf1\xee\xf2\xe0=0,1\r\n\xd7\xe0\xf1\xf2\xee\xf2\xe0=7,1\r\n'
    printf '\xcf\xf0\xee\xed\xe8\xf6\xe0\xe5\xec\xee\xf1\xf2\xfc=13\r\n\xcf\xf0\xee\xe2\xee\xe4\xe8\xec\xee\xf1\xf2\xfc=0,005\r\n'
    for k in 1 2 3 4 5 6 7 8; do
        x=$(awk "BEGIN {print (int(($k - 1) / 4) * 0.6 - 0.3)}" | tr . ,)
        y=$(awk "BEGIN {print ((($k - 1) % 4) * 0.25 - 0.375)}" | tr . ,)
        phase=$(awk "BEGIN {print 0.1 * $k}" | tr . ,)
        printf '[\xc8\xe7\xeb\xf3\xf7\xe0\xf2\xe5\xeb\xfc %d]\r\n\xc2\xea\xeb\xfe\xf7\xe5\xed=1\r\n' "$k"
        printf 'X=%s\r\nY=%s\r\n\xd4\xe0\xe7\xe0=%s\r\n\xc4\xeb\xe8\xed\xe0=0,48\r\n' "$x" "$y" "$phase"
    done
} >"$eight"
"$cli" nec --config "$eight" "$work/eight.nec"
sed -e '/^RP 0 91 /d' -e 's/^RP 0 1 360 /RP 0 1 361 /' "$work/eight.nec" >"$work/gn2.nec"
grep -q '^GN 2 ' "$work/gn2.nec" && grep -q '^RP 0 1 361 ' "$work/gn2.nec"
# The sweep's deck: 41 frequencies from 6.9 MHz by 0.01, the currents only.
sed -e '/^RP /d' -e 's/^FR 0 1 0 0 [0-9.]* 0/FR 0 41 0 0 6.9 0.01/' -e 's/^EN/XQ\r\nEN/' \
    "$work/gn2.nec" >"$work/sweep.nec"
grep -q '^FR 0 41 ' "$work/sweep.nec"

source "$root/bench/timing.sh"

for f in nec som refl sweep reflsweep necsweep; do : >"$work/$f.t"; done
for ((n = 0; n < runs; n++)); do
    once nec2c -i "$work/gn2.nec" -o "$work/out.txt" >>"$work/nec.t"
    once "$cli" pattern --format json --config "$eight" >>"$work/som.t"
    once "$cli" pattern --format json --config "$eight" --ground-model reflection >>"$work/refl.t"
    if ((n < 5)); then
        once "$cli" sweep --config "$eight" --vary frequency --frequency 7.1 --from 6.9 --to 7.3 --steps 41 \
            >>"$work/sweep.t"
        once "$cli" sweep --config "$eight" --vary frequency --frequency 7.1 --from 6.9 --to 7.3 --steps 41 \
            --ground-model reflection >>"$work/reflsweep.t"
        once nec2c -i "$work/sweep.nec" -o "$work/out.txt" >>"$work/necsweep.t"
    fi
done
nec=$(median <"$work/nec.t")
som=$(median <"$work/som.t")
echo "nec2c GN 2, one 361-point cut:           $nec ms"
echo "arraypattern-cli pattern json, Sommerfeld: $som ms  (nec2c / it: $(awk "BEGIN {printf \"%.2f\", $nec / $som}"))"
echo "arraypattern-cli pattern json, reflection: $(median <"$work/refl.t") ms"
echo "arraypattern-cli sweep, 41 frequencies:    $(median <"$work/sweep.t") ms"
echo "arraypattern-cli sweep, reflection:       $(median <"$work/reflsweep.t") ms"
echo "nec2c GN 2, 41 frequencies, currents:      $(median <"$work/necsweep.t") ms"
