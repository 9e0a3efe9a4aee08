#!/usr/bin/env bash
# Starts the real program under a private X server and checks that its window opens at its
# fixed client size 862 x 606 and at screen point (200, 225).
# Usage: xvfb_window_test.sh <program>
set -euo pipefail

source "$(dirname "$0")/../scripts/xvfb-session.sh"
StartXvfbSession
StartWindow "$1"

eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
echo "window $WINDOW at $X,$Y size ${WIDTH}x$HEIGHT"
if [[ $WIDTH != 862 || $HEIGHT != 606 ]]; then
    echo "expected a client area of 862x606" >&2
    exit 1
fi
if [[ $X != 200 || $Y != 225 ]]; then
    echo "expected the window at 200,225" >&2
    exit 1
fi
