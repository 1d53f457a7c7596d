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
# The lobby of a game resumed with phones, its key kept in the saved game: the invitation stands
# large over the board, and its code is read from the sofa, where a phone's camera 3 m away sees
# the screen at FAR % of its size, slightly blurred. At 1080p the lobby is its reference picture;
# Q hides it and shows it again, and a roll hides it.
lobby() {
    local far=$1 key=0123456789abcdef0123456789abcdef port=47112
    export XDG_STATE_HOME=$work/state-$far
    mkdir -p "$XDG_STATE_HOME/kraxelbrett"
    { game_file 0 0 "[]\nphone-key = \"$key\"" && player 0 0 false Anna && player 0 0 false &&
        player 0 0 false Jörg; } >"$XDG_STATE_HOME/kraxelbrett/game.toml"
    start "$build" ./kraxelbrett --resume --phones=127.0.0.1:$port >/dev/null 2>>"$work/said"
    settled "$work/lobby-$far.png"
    convert "$work/lobby-$far.png" -filter Triangle -resize "$far%" -blur 0x0.5 "$work/far-$far.png"
    [ "$(zbarimg -q --raw "$work/far-$far.png" 2>/dev/null)" = "HTTP://127.0.0.1:$port/${key^^}/" ] ||
        keep "far-$far"
    if [ "$far" = 29 ]; then
        alike "$golden/lobby.png" "$work/lobby-$far.png" || keep "lobby-$far"
        xdotool key q
        expect hidden board_shown hidden
        xdotool key q
        expect shown-again alike "$golden/lobby.png" "$work/shown-again.png"
        xdotool key w
        expect rolled board_shown rolled
    fi
    escape lobby "$work/said"
}
# Whether the bottom row of the board shows in the capture NAME, where the lobby is black.
board_shown() { [ "$(convert "$work/$1.png" -crop 1x1+300+950 -format '%[fx:r+g+b>0]' info:)" = 1 ]; }
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
on_screen 1920x1080x24 lobby 29
on_screen 3840x2160x24 lobby 14.5
echo "screens: 20 kiosk starts, 16 and 8 bits, a resize, and the lobby read from the sofa, all as expected"
