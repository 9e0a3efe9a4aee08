#!/usr/bin/env bash
# Every test's name reads as a sentence of at most 100 characters: a parameterised test names
# its rows, so no name carries a parameter's bytes (which may hold addresses and change from
# build to build). Usage: test_names_test.sh BUILD_DIR
set -euo pipefail
cd "${1:?usage: test_names_test.sh BUILD_DIR}"
names=$(ctest -N | sed -n 's/^ *Test *#[0-9]*: //p')
[[ -n $names ]] || { echo "ctest listed no tests" >&2; exit 1; }
bad=$( (awk 'length > 100' <<<"$names"; grep -E 'GetParam|-byte object|[0-9A-F]{2}-[0-9A-F]{2} [0-9A-F]{2}-' <<<"$names") || true)
if [[ -n $bad ]]; then
  echo "test names longer than 100 characters or carrying a parameter's bytes:" >&2
  echo "$bad" >&2
  exit 1
fi
echo "$(wc -l <<<"$names") test names read as sentences"
