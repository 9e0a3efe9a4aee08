#!/usr/bin/env bash
# Takes a screenshot of the studio as it opens on a screen of the given size, with no remembered
# layout, after the given clicks (x,y, or x,y,shift). Usage:
# scripts/studio-screenshot.sh SIZE LANG OUT.png [FILE] [CLICK...]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
size=$1 lang=$2 out=$3 file=${4:-}
shift $(($# < 4 ? $# : 4))

source "$root/scripts/xvfb-session.sh"
StartXvfbSession "$size"
export XDG_CONFIG_HOME=$XVFB_WORK/config QT_SCALE_FACTOR=1
args=(--lang "$lang")
[[ -n $file ]] && args+=("$file")
"$root/build/arraypattern-studio" "${args[@]}" &
APP_PID=$!
timeout 20 xdotool search --sync --onlyvisible --classname arraypattern >/dev/null
sleep 2
for click in "$@"; do
    IFS=, read -r x y key <<<"$click"
    if [[ -n ${key:-} ]]; then
        xdotool mousemove "$x" "$y" keydown "$key" click 1 keyup "$key"
    else
        xdotool mousemove "$x" "$y" click 1
    fi
    sleep 1
done
xdotool mousemove 0 0
sleep 1
mkdir -p "$(dirname "$out")"
import -window root "$out"
echo "wrote $out"
