#!/usr/bin/env bash
# The game on the screens players have, each a private Xvfb started as a player's machine
# starts its X server, resetting whenever its last client leaves: a kiosk where the game is
# the only client, started again at once after Escape; 16 and 8 bits per pixel; and a window
# whose size changes mid-game, which must then show what a game started at that size shows.
# Usage: screens.sh BUILD_DIR [STEP WORK ...]   (a STEP runs on the display it is given)
set -euo pipefail
label=screens
. "$(dirname "$0")/game.sh"
build=$(cd "$1" && pwd) golden=$root/tests/golden work=${3:-}
on_screen() { "$root/scripts/with-display.sh" --screen "$1" "$0" "$build" "$2" "$work" "${@:3}"; }
trap '[ -n "$game" ] && kill "$game" 2>/dev/null; true' EXIT
window() { timeout 10 xdotool search --sync --name '^Kraxelbrett$' | head -n 1; }

# Nothing else connects until the game has had its window for a while: a client of the test's
# own would keep the server from resetting under the game.
kiosk() {
    for run in first again; do
        start "$build" ./kraxelbrett 2>>"$work/said"
        sleep 0.5
        [ -n "$(window)" ] || fail "$run start: no window: $(cat "$work/said")"
        escape "$run start" "$work/said"
    done
}
# The display rounds the colours to 5-6-5 bits; they must be the board's all the same.
depth16() {
    start "$build" ./kraxelbrett 2>>"$work/said"
    expect board-16 alike "$golden/board.png" "$work/board-16.png" 8%
    escape "16 bits" "$work/said"
}
# Three players in a window of the display's size, or after a resize to WxH, settled in SHOT.
sized() {
    local shot=$1 size=${2:-}
    start "$build" ./kraxelbrett 2>>"$work/said"
    window >/dev/null
    xdotool key KP_Add KP_Add KP_Add
    if [ -n "$size" ]; then
        expect before-resize alike "$golden/three-players.png" "$work/before-resize.png"
        xdotool windowsize "$(window)" "${size%x*}" "${size#*x}"
    fi
    settled "$shot" 0.3 "$(window)"
    escape "three players" "$work/said"
}
if [ -n "${2:-}" ]; then "$2" "${@:4}"; exit; fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KRAXELBRETT_SEED=7
for run in $(seq 1 20); do on_screen 1920x1080x24 kiosk || fail "kiosk run $run"; done
# A server that comes half a second after the game refuses it, as one does while it resets: the
# game waits. Its number is far above those -displayfd hands out, which other servers may hold.
number=$((300 + RANDOM % 600))
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
(
    export DISPLAY=:$number
    start "$build" ./kraxelbrett 2>>"$work/said"
    sleep 0.5
    Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp 2>/dev/null & server=$!
    trap 'kill "$game" "$server" 2>/dev/null' EXIT
    timeout 20 sh -c 'until xdotool search --name "^Kraxelbrett\$"; do sleep 0.2; done' >/dev/null 2>&1 ||
        fail "no window on a server that came late: $(cat "$work/said")"
    escape "late server" "$work/said"
)
on_screen 1920x1080x16 depth16
says "1 kraxelbrett: the display shows 8 bits per pixel, and OpenGL offers no true-colour window at that depth; the game needs a display of 16 or 24 bits" \
    "$root/scripts/with-display.sh" --screen 1920x1080x8 "$build/kraxelbrett"
on_screen 800x600x24 sized "$work/resized-as.png"
on_screen 1920x1080x24 sized "$work/resized.png" 800x600
alike "$work/resized-as.png" "$work/resized.png" || keep resized
echo "screens: 20 kiosk starts, 16 and 8 bits, and a resize, all as expected"
