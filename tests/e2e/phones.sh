#!/usr/bin/env bash
# The game with --phones on loopback, as phones meet it: the link off the TV's QR code, hostile
# clients at every limit while numpad + still seats a player, three phones in real Chromiums and
# then in WebKit, and Escape ends it with exit code 0. Without --phones the game opens no socket.
# Usage: phones.sh BUILD_DIR
set -euo pipefail
label=phones
. "$(dirname "$0")/game.sh"
on_desktop "$@"
build=$(cd "$1" && pwd)
# The sofa view saves the game: into the scratch folder, never the tester's own.
export XDG_STATE_HOME=$work/state
# Debian's own Python has selenium and websockets; the sanitizers' preload stops chromedriver.
python="env -u LD_PRELOAD /usr/bin/python3"

start "$build" ./kraxelbrett 2>"$work/plain.said"
settled "$work/plain.png"
sockets=$(ss -Htuanp | grep "pid=$game,") && fail "a socket without --phones: $sockets"
escape plain "$work/plain.said"

port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
KRAXELBRETT_SEED=15 start "$build" ./kraxelbrett --phones="127.0.0.1:$port" >"$work/out" 2>"$work/said"
settled "$work/tv.png"
link=$(zbarimg -q --raw "$work/tv.png") || fail "no QR code on the TV"
[[ $link == HTTP://127.0.0.1:$port/* ]] || fail "the QR code says $link"

# Whether slot N's row shows its colour in the last capture of the screen, rows.png.
row_shown() {
    [ "$(convert "$work/rows.png" -crop 1x1+1900+$((100 * $1 + 5)) -format '%[fx:r+g+b>0]' info:)" = 1 ]
}
$python "$root/tests/e2e/phones_hostile.py" "$link" >"$work/hostile" 2>&1 &
hostile=$!
# Meanwhile numpad + seats players as ever. How soon, under a flood, the phones' benchmark
# measures: a loaded machine holds frames up.
sleep 3
for slot in 0 1; do xdotool key KP_Add && expect rows row_shown "$slot"; done
wait "$hostile" || fail "hostile clients: $(tail -5 "$work/hostile")"
# The two players of the numpad, and the seat a hostile phone took and left.
xdotool key KP_Subtract sleep 0.2 key KP_Subtract sleep 0.2 key KP_Subtract
$python "$root/tests/e2e/phones_browser.py" de "$link" \
    >"$work/browser" 2>&1 || fail "phones in the browser: $(tail -5 "$work/browser")"
escape phones "$work/said" 10

# The same in WebKit, as iPhones have it: three MiniBrowsers, on a display of their own so that
# their windows keep out of the TV's, against a fresh game.
KRAXELBRETT_SEED=15 start "$build" ./kraxelbrett --phones="127.0.0.1:$port" >"$work/out" 2>"$work/said"
settled "$work/tv.png"
link=$(zbarimg -q --raw "$work/tv.png" 2>/dev/null) || fail "no QR code on the TV for WebKit"
"$root/scripts/with-display.sh" --screen 1280x1024x24 $python "$root/tests/e2e/phones_browser.py" \
    --webkit de "$link" >"$work/webkit" 2>&1 || fail "phones in WebKit: $(tail -5 "$work/webkit")"
escape webkit "$work/said" 10

# The end of a game, played from the phones: three players near the goal, resumed with a die
# that brings each home in one roll; the podium, and another round from a phone. The deck is
# English, and so are the phones.
save=$XDG_STATE_HOME/kraxelbrett/game.toml
{ game_file 0 2 '[]\ndeck = "english"' && player 108 0 false Anna && player 106 0 false Jörg && player 106 0 false Bob; } >"$save"
KRAXELBRETT_SEED=20 start "$build" ./kraxelbrett --resume --phones="127.0.0.1:$port" >"$work/out" 2>"$work/said"
settled "$work/tv.png"
link=$(zbarimg -q --raw "$work/tv.png") || fail "no QR code on the resumed game's TV"
$python "$root/tests/e2e/phones_browser.py" --finish en "$link" \
    >"$work/browser" 2>&1 || fail "a game's end in the browser: $(tail -5 "$work/browser")"
escape "the resumed game" "$work/said" 10
echo "phones: hostile clients refused, three phones played"
