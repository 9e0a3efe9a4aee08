#!/usr/bin/env bash
# Runs the studio's end-to-end tests on a private X server, driven by xdotool's real X events.
# Usage: xvfb_studio_test.sh <test program>
set -euo pipefail
command -v xdotool >/dev/null || { echo "xdotool is missing: install the package xdotool" >&2; exit 1; }
source "$(dirname "$0")/../../scripts/xvfb-session.sh"
# A screen wider than the window the tests show, so that every panel is on it.
StartXvfbSession 1920x1080
"$1"
