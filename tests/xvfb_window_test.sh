#!/usr/bin/env bash
# Starts the real program under a private X server and checks that its window opens at its
# fixed client size 862 x 606 and at screen point (200, 225). Both processes are stopped by
# their process ids. Usage: xvfb_window_test.sh <program>
set -euo pipefail

program=$1
work=$(mktemp -d)
XVFB_PID=
APP_PID=

cleanup() {
    if [[ -n $APP_PID ]]; then kill -TERM "$APP_PID" 2>/dev/null || true; wait "$APP_PID" 2>/dev/null || true; fi
    if [[ -n $XVFB_PID ]]; then kill -TERM "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
XVFB_PID=$!
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
if [[ ! -s $work/display ]]; then
    echo "Xvfb did not start" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$(cat "$work/display")"
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"

"$program" &
APP_PID=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --classname arraypattern | head -n 1)
if [[ -z $window ]]; then
    echo "the window did not appear" >&2
    exit 1
fi
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "window $window at $X,$Y size ${WIDTH}x$HEIGHT"
if [[ $WIDTH != 862 || $HEIGHT != 606 ]]; then
    echo "expected a client area of 862x606" >&2
    exit 1
fi
if [[ $X != 200 || $Y != 225 ]]; then
    echo "expected the window at 200,225" >&2
    exit 1
fi
