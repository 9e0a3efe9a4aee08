#!/usr/bin/env bash
# Checks the house naming rules of .clang-tidy on the program's sources and its tests (headers
# through the sources that include them), again only where something changed since the last
# pass. Usage: check-naming.sh BUILD_DIR [--all] (configured, with compile_commands.json; --all
# checks everything whatever changed).
set -euo pipefail
build=${1:?usage: check-naming.sh BUILD_DIR [--all]}
tidy=$(command -v clang-tidy-14 || command -v clang-tidy || true)
if [[ -z $tidy ]]; then
  echo "clang-tidy is missing: install the package clang-tidy (scripts/install-deps.sh does)" >&2
  exit 1
fi
exec python3 "$(dirname "$0")/check_naming.py" "$tidy" "$@"
