#!/usr/bin/env bash
# The translations as translators find them: the template committed is the one extracted anew
# from the sources, and each language's catalogue holds every message of it, each translated,
# none fuzzy, each valid for msgfmt (its placeholders and plural forms).
# Usage: catalogues.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "catalogues: $*" >&2; exit 1; }

"$root/scripts/make-pot.sh" "$work/kraxelbrett.pot"
diff -u "$root/po/kraxelbrett.pot" "$work/kraxelbrett.pot" >"$work/diff" ||
  fail "po/kraxelbrett.pot is not the sources' (make pot): $(head -30 "$work/diff")"
for po in "$root"/po/*.po; do
  said=$(LC_ALL=C msgfmt --check --statistics -o /dev/null "$po" 2>&1)
  [[ $said =~ ^[0-9]+\ translated\ messages?\.$ ]] || fail "$po: $said"
  LC_ALL=C msgcmp "$po" "$root/po/kraxelbrett.pot" 2>"$work/missing" ||
    fail "$po lacks messages of the template (make pot): $(head -5 "$work/missing")"
done
echo "catalogues: the template is current, and every catalogue is complete"
