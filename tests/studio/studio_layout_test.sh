#!/usr/bin/env bash
# Runs the studio's layout test on private X servers of a laptop's and a desktop's size.
# Usage: studio_layout_test.sh <test program>
set -euo pipefail
command -v Xvfb >/dev/null || { echo "Xvfb is missing: install the package xvfb" >&2; exit 1; }
for size in 1366x768 1920x1080; do
    (
        source "$(dirname "$0")/../../scripts/xvfb-session.sh"
        StartXvfbSession "$size"
        "$1"
    )
done
