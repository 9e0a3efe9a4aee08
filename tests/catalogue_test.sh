#!/usr/bin/env bash
# The Russian catalogue answers every message of the sources, and every source that has a
# message is gathered into the template. Usage: catalogue_test.sh SOURCE_DIR TEMPLATE.pot
set -euo pipefail
src=$1
pot=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v msgcmp >/dev/null || fail "msgcmp is missing: install Debian's package gettext"
cd "$src"
# A file that marks a text but is not listed would leave that text English in every language.
missing=$(grep -rlE '\b(Tr|TrFormat|TrPlural|Msgid)\(' src --include='*.cpp' --include='*.h' |
  grep -vxF -f <(grep -v '^#' po/POTFILES.in) |
  grep -vx 'src/model/msgid\.h\|src/config/messages\.h\|src/config/messages\.cpp' || true)
[[ -z $missing ]] || fail "sources with messages missing from po/POTFILES.in: $missing"
msgcmp po/ru.po "$pot" || fail "po/ru.po lacks translations (run scripts/update-po.sh)"
[[ $(msgattrib --untranslated po/ru.po | grep -c '^msgid') -le 1 ]] ||
  fail "untranslated entries in po/ru.po"
[[ -z $(msgattrib --only-fuzzy po/ru.po) ]] || fail "fuzzy entries in po/ru.po"
msgfmt --check --output-file=/dev/null po/ru.po
echo "ok"
