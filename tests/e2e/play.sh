#!/usr/bin/env bash
# A short game on the real binary, played with real key events through the X server: each
# settled screen must equal its reference picture pixel for pixel.
# Usage: play.sh BUILD_DIR GOLDEN_DIR
set -euo pipefail
build=$1 golden=$2 failed=$1/e2e-failed
. "$(dirname "$0")/screen.sh"

# Without its assets the game still starts: squares without labels.
start "$build/kraxelbrett" "$work"
expect_screen bare-board
expect_exit

export KRAXELBRETT_SEED=7
start "$build/kraxelbrett" "$build"
expect_screen board
xdotool key KP_Add KP_Add KP_Add
expect_screen three-players
xdotool key w
expect_screen first-roll
expect_exit
echo "e2e: every screen as expected"
