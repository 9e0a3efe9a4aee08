#!/usr/bin/env bash
# Takes docs/screenshot.png: the program's window under a private X server, cut out of a
# screenshot of the whole screen. Usage: scripts/screenshot.sh [program]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/arraypattern}
out=$root/docs/screenshot.png
work=$(mktemp -d)
XVFB_PID=
APP_PID=

cleanup() {
    if [[ -n $APP_PID ]]; then kill -TERM "$APP_PID" 2>/dev/null || true; wait "$APP_PID" 2>/dev/null || true; fi
    if [[ -n $XVFB_PID ]]; then kill -TERM "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
XVFB_PID=$!
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"
export QT_QPA_PLATFORM=xcb
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"

"$program" &
APP_PID=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --classname arraypattern | head -n 1)
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"

mkdir -p "$(dirname "$out")"
import -window root "$work/screen.png"
/usr/bin/convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
echo "wrote $out (${WIDTH}x$HEIGHT)"
