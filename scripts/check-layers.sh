#!/usr/bin/env bash
# Holds the source folders to their layers: each may include only the folders below it
# (model, config, plot, form, app; then ui, studio and cli beside each other), and the Qt-free layers
# include no Qt header. Prints every include that breaks the rule.
set -euo pipefail
cd "$(dirname "$0")/../src"
allowed() {
  case $1 in
    model) echo "model" ;;
    config) echo "model config" ;;
    plot) echo "model config plot" ;;
    form) echo "model config plot form" ;;
    app) echo "model config plot form app" ;;
    ui) echo "model config plot form app ui" ;;
    cli) echo "model config plot form app cli" ;;
    python) echo "model config plot form app python" ;;
    studio) echo "model config plot form app studio" ;;
  esac
}
status=0
for layer in model config plot form app ui studio cli python; do
  ok=" $(allowed "$layer") "
  while IFS=: read -r file _ target; do
    if [[ $ok != *" $target "* ]]; then
      echo "src/$file includes $target/, above its layer" >&2
      status=1
    fi
  done < <(grep -rHoE '^#include "[a-z]+/' "$layer" | sed -E 's|#include "([a-z]+)/|\1|' | awk -F: '{print $1 ":x:" $2}')
done
# The window's painter surface has its own folder, plot/qt; the rest of plot is Qt-free.
if grep -rlE '^#include <Q' model config form app plot | grep -v '^plot/qt/'; then
  echo "the files above reach Qt from a Qt-free layer" >&2
  status=1
fi
exit $status
