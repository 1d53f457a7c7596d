#!/usr/bin/env bash
# A short game on the real binary, played with real key events through the X server: each
# settled screen must equal its reference picture in tests/golden pixel for pixel.
# Usage: play.sh GAME_DIR GOLDEN_DIR. With KRAXELBRETT_RECORD=1 it writes the references
# instead, to be looked at before they are committed.
set -euo pipefail
game_dir=$1
golden=$2
work=$(mktemp -d)
game=
trap '[ -n "$game" ] && kill "$game" 2>/dev/null; rm -rf "$work"' EXIT

differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

# Waits until the screen shows the reference; a failure keeps the last screen for a look.
expect_screen() {
    local reference=$golden/$1.png deadline=$((SECONDS + 20))
    if [ -n "${KRAXELBRETT_RECORD:-}" ]; then
        sleep 8
        import -window root "$reference"
        return
    fi
    until import -window root "$work/screen.png" &&
        [ "$(differing "$reference" "$work/screen.png")" = 0 ]; do
        if [ "$SECONDS" -gt "$deadline" ]; then
            cp "$work/screen.png" "$game_dir/failed-$1.png"
            echo "screen '$1': $(differing "$reference" "$work/screen.png") pixels differ" \
                "(see $game_dir/failed-$1.png)" >&2
            exit 1
        fi
        sleep 0.2
    done
}

start() {
    (cd "$1" && exec "$game_dir/kraxelbrett") &
    game=$!
}

# Escape ends the game with exit code 0.
expect_exit() {
    xdotool key Escape
    local code=0
    timeout 10 tail --pid="$game" -f /dev/null
    wait "$game" || code=$?
    game=
    [ "$code" = 0 ] || { echo "exit code $code" >&2; exit 1; }
}

# Without its assets the game still starts: squares without labels.
mkdir "$work/empty"
start "$work/empty"
expect_screen bare-board
expect_exit

export KRAXELBRETT_SEED=7
start "$game_dir"
expect_screen board
xdotool key KP_Add KP_Add KP_Add
expect_screen three-players
xdotool key w
expect_screen first-roll
expect_exit
echo "e2e: every screen as expected"
