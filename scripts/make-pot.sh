#!/usr/bin/env bash
# Extracts every text of the game for translators into a template, OUTPUT: from the C++
# sources (boost::locale's translate), the phones' page (the script's _('…') and
# n_('…', '…', count), the HTML's {{…}}), the desktop entry and the software-centre entry.
# References name the file only, so that the template changes only when a text does.
# Usage: make-pot.sh OUTPUT
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
output=$(realpath -m "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$root"

common=(--from-code=UTF-8 --add-comments=TRANSLATORS: --add-location=file --sort-by-file
        --package-name=kraxelbrett --msgid-bugs-address=maintainers@users.noreply.example --no-wrap)

find src -name '*.cpp' -o -name '*.hpp' | LC_ALL=C sort >"$work/sources"
xgettext "${common[@]}" -L C++ --keyword= --keyword=translate:1,1t --keyword=translate:1c,2,2t \
  --keyword=translate:1,2,3t --keyword=translate:1c,2,3,4t -f "$work/sources" -o "$work/code.pot"

# The HTML's texts as script lines of a file of the same name, so that the references name it.
mkdir -p "$work/html/src/phones/page"
grep -o '{{[^{}]*}}' src/phones/page/index.html | sed -e "s/^{{/_('/" -e "s/}}\$/');/" \
  >"$work/html/src/phones/page/index.html"
(cd "$work/html" && xgettext "${common[@]}" -L JavaScript --keyword= --keyword=_ \
  src/phones/page/index.html -o "$work/html.pot")
xgettext "${common[@]}" -L JavaScript --keyword= --keyword=_ --keyword=n_:1,2 \
  src/phones/page/app.js -o "$work/script.pot"

xgettext "${common[@]}" -L Desktop dist/kraxelbrett.desktop.in -o "$work/desktop.pot"
xgettext "${common[@]}" --its=/usr/share/gettext/its/metainfo.its \
  dist/org.kraxelbrett.kraxelbrett.metainfo.xml -o "$work/metainfo.pot"

# The creation date would make every extraction differ from the last.
msgcat --use-first --add-location=file --no-wrap "$work/code.pot" "$work/html.pot" \
  "$work/script.pot" "$work/desktop.pot" "$work/metainfo.pot" |
  sed -e '/^"POT-Creation-Date:/d' >"$output"
