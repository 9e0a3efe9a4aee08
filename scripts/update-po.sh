#!/usr/bin/env bash
# Brings po/ru.po up to date with the sources' messages after a text changed: new messages
# arrive untranslated (the translation test then names them), vanished ones are dropped.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target catalogues >/dev/null
# Locations name the file only, so moving a line leaves the catalogue as it is.
msgmerge --quiet --no-fuzzy-matching --sort-by-file --output-file=- po/ru.po \
  "$build/po/arraypattern.pot" | msgattrib --no-obsolete - |
  msgcat --add-location=file --output-file=- - |
  sed '/^"POT-Creation-Date: /d' >po/ru.po.new
mv po/ru.po.new po/ru.po
msgattrib --untranslated --no-location po/ru.po | grep '^msgid' || echo "Every message is translated."
