#!/usr/bin/env bash
# Takes docs/screenshot.png: the program's window under a private X server, cut out of a
# screenshot of the whole screen. Usage: scripts/screenshot.sh [program]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/arraypattern}
out=$root/docs/screenshot.png

source "$root/scripts/xvfb-session.sh"
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
StartXvfbSession
StartWindow "$program"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"

mkdir -p "$(dirname "$out")"
import -window root "$XVFB_WORK/screen.png"
/usr/bin/convert "$XVFB_WORK/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
echo "wrote $out (${WIDTH}x$HEIGHT)"
