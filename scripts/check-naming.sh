#!/usr/bin/env bash
# Checks the house naming rules of .clang-tidy on the program's own sources (headers through
# the sources that include them). Usage: check-naming.sh BUILD_DIR (configured, with
# compile_commands.json).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: check-naming.sh BUILD_DIR}" && pwd)
tidy=$(command -v clang-tidy-14 || command -v clang-tidy || true)
if [[ -z $tidy ]]; then
  echo "clang-tidy is missing: install the package clang-tidy (scripts/install-deps.sh does)" >&2
  exit 1
fi
cd "$root"
find src -name '*.cpp' -print0 | sort -z |
  xargs -0 -P "$(nproc)" -n 6 "$tidy" -p "$build" --quiet --extra-arg=-Wno-unknown-warning-option 2> >(grep -v 'warnings\? generated' >&2)
