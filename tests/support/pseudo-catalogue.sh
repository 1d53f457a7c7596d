#!/usr/bin/env bash
# Makes the catalogue of a pseudo-language from the template: each line of every message of
# ours in brackets, so that a text shown without them was never marked for translation.
# Usage: pseudo-catalogue.sh TEMPLATE CATALOGUE
set -euo pipefail
mkdir -p "$(dirname "$2")"
msgen "$1" | msgfilter --keep-header sed -e 's/^/[/' -e 's/$/]/' | msgfmt -o "$2" -
