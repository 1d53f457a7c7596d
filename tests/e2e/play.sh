#!/usr/bin/env bash
# A short game on the real binary, played with real key events through the X server: each
# settled screen must equal its reference picture pixel for pixel.
# Usage: play.sh BUILD_DIR GOLDEN_DIR
set -euo pipefail
build=$1 golden=$2 failed=$1/e2e-failed
. "$(dirname "$0")/screen.sh"

# Without a display: one line that says so, and no core dump.
code=0
env -u DISPLAY "$build/kraxelbrett" 2>"$work/err" || code=$?
[ "$code" = 1 ] && [ "$(wc -l <"$work/err")" = 1 ] && grep -q DISPLAY "$work/err" ||
    { echo "without a display: exit code $code, said: $(cat "$work/err")" >&2; exit 1; }

# Without its assets the game still starts: squares without labels.
start "$build/kraxelbrett" "$work"
expect_screen bare-board
expect_exit

# The desktop's key repeat on, as on most desktops; the display's own setting comes back.
repeat=$(xset q | awk '/auto repeat delay/ {print $4, $7}')
trap 'xset r rate $repeat; [ -n "$game" ] && kill "$game" 2>/dev/null; rm -rf "$work"' EXIT
xset r on
xset r rate 250 25

export KRAXELBRETT_SEED=7
start "$build/kraxelbrett" "$build"
expect_screen board
# The numpad's plus, and the main keyboard's (Shift and = on this layout).
xdotool key KP_Add plus KP_Add
expect_screen three-players
# Held for a second: one turn, however often the key repeats.
xdotool keydown w sleep 1 keyup w
expect_screen first-roll
# Escape in the middle of a roll ends the game at once.
xdotool key w sleep 0.5
expect_exit 1
echo "e2e: every screen as expected"
