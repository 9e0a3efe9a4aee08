#!/usr/bin/env bash
# The engine and the model word their reasons without naming an option of the command line:
# each face names its own flags or controls. Any string literal below the faces holding one
# ("--scale", "--type 1") is a message that would mislead the studio's reader.
set -euo pipefail
root=${1:?usage: no_options_below_faces_test.sh SOURCE_DIR}
hits=$(grep -rnE '"[^"]*--[a-z][a-z0-9-]*' "$root/src/app" "$root/src/model" \
    --include='*.cpp' --include='*.h' | grep -vE '^[^:]+:[0-9]+:[[:space:]]*//' || true)
if [ -n "$hits" ]; then
    echo "option names in messages below the faces:" >&2
    echo "$hits" >&2
    exit 1
fi
