#!/usr/bin/env bash
# Brings po/ru.po up to date with the sources' messages after a text changed: new messages
# arrive untranslated (the translation test then names them), vanished ones are dropped.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target catalogues >/dev/null
msgmerge --quiet --update --backup=none --no-fuzzy-matching --sort-by-file po/ru.po \
  "$build/po/arraypattern.pot"
msgattrib --untranslated --no-location po/ru.po | grep '^msgid' || echo "Every message is translated."
