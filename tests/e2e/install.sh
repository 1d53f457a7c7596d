#!/usr/bin/env bash
# Installed into a staging folder, the game starts through its launcher from any folder with
# its font and die, and answers its arguments without a display.
# Usage: install.sh CMAKE BUILD_DIR INSTALL_PREFIX
set -euo pipefail
build=$2 golden=$(dirname "$0")/../golden failed=$2/e2e-failed
. "$(dirname "$0")/screen.sh"

DESTDIR=$work/stage "$1" --install "$build" >"$work/install.log"
prefix=$work/stage$3
desktop-file-validate "$prefix/share/applications/kraxelbrett.desktop"
[ -f "$prefix/share/icons/hicolor/64x64/apps/kraxelbrett.png" ]
[ -L "$prefix/share/kraxelbrett/assets/SmallMemory.ttf" ]

launcher=$prefix/games/kraxelbrett
version=$(sed -n 's/^project(kraxelbrett VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
[ "$(env -u DISPLAY "$launcher" --version)" = "kraxelbrett $version" ]
env -u DISPLAY "$launcher" --help | grep -q '^Kraxelbrett: a party board game'
code=0
env -u DISPLAY "$launcher" --fullscreen 2>"$work/usage" || code=$?
[ "$code" = 2 ] && [ "$(cat "$work/usage")" = "Usage: kraxelbrett [--help | --version]" ]

mkdir "$work/elsewhere"
start "$launcher" "$work/elsewhere"
expect_screen board
expect_exit
echo "install: the installed game starts and answers"
