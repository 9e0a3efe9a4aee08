#!/usr/bin/env bash
# Draws the one-page report of every example into docs/gallery/, for the README.
# Usage: scripts/gallery.sh [arraypattern-cli]
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${1:-build/arraypattern-cli}
mkdir -p docs/gallery
for config in examples/*.txt; do
    name=$(basename "$config" .txt)
    "$cli" plot --kind report --decimal-mark , --config "$config" "docs/gallery/$name.png"
    echo "docs/gallery/$name.png"
done
