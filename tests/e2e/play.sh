#!/usr/bin/env bash
# The game installed into a staging folder, then played with real key events through the X
# server, as on a desktop: each screen a step ends on must equal its reference picture.
# Usage: play.sh CMAKE BUILD_DIR INSTALL_PREFIX VERSION
set -euo pipefail
label=e2e
. "$(dirname "$0")/game.sh"
on_desktop "$@"
build=$2 golden=$root/tests/golden
repeat=$(xset q | awk '/auto repeat delay/ {print $4, $7}')
trap 'xset r rate $repeat; [ -n "$game" ] && kill "$game" 2>/dev/null; rm -rf "$work"' EXIT

# Whether the picture NAME in the scratch folder equals its reference, which it becomes first
# with KRAXELBRETT_RECORD=1 (taken once the screen has long settled), or =new where there is
# none yet; expect_screen presses xdotool's ARGUMENTS, if any, and waits for that picture.
recording() { [[ ${KRAXELBRETT_RECORD:-} && ($KRAXELBRETT_RECORD != new || ! -e $golden/$1.png) ]]; }
same() { ! recording "$1" || cp "$work/$1.png" "$golden/"; alike "$golden/$1.png" "$work/$1.png"; }
expect_screen() { [ $# = 1 ] || xdotool "${@:2}"; ! recording "$1" || sleep 8; expect "$1" same "$1"; }
headless() { env -u DISPLAY "$launcher" "$@"; }
# An answer that cannot be written is no success.
out_full() { "$@" >/dev/full; }
err_full() { "$@" 2>/dev/full; }

DESTDIR=$work/stage "$1" --install "$build" >"$work/install.log"
prefix=$work/stage$3 launcher=$work/stage$3/games/kraxelbrett
desktop-file-validate "$prefix/share/applications/kraxelbrett.desktop"
[ -f "$prefix/share/icons/hicolor/64x64/apps/kraxelbrett.png" ] || fail "no icon"
says "0 kraxelbrett $4" headless --version
says "0 Kraxelbrett: a party board game*" headless --help
says "2 Usage: kraxelbrett [--mute] [--tv] [--phones[=ADDRESS:PORT]] [--resume] [DECK] | --list-decks*" headless --fullscreen
says "1 kraxelbrett: cannot write the answer: No space left*" out_full "$launcher" --help
says "1 kraxelbrett: cannot write the answer: No space left*" out_full "$launcher" --version
says "1 *" err_full "$launcher" --fullscreen
says "1 kraxelbrett: no X display to open: the DISPLAY variable is not set" headless
says "1 kraxelbrett: cannot open the X display DISPLAY=:9999" env DISPLAY=:9999 "$launcher"
# The desktop's language, as gettext reads it: LANGUAGE counts unless the locale is C.
says "2 Aufruf: kraxelbrett *" env LANG=de_DE.UTF-8 "$launcher" --fullscreen
says "0 Kraxelbrett: ein Party-Brettspiel *" env LANG=en_GB.UTF-8 LANGUAGE=de:en "$launcher" --help
says "2 Usage: kraxelbrett *" env LANGUAGE=de "$launcher" --fullscreen
says "1 kraxelbrett: kein X-Display zum Öffnen*" env -u DISPLAY LC_MESSAGES=de_AT.UTF-8 "$launcher"

# Decks, without a display: the shipped ones listed and good, a user's deck in place of a
# shipped one, a bad deck stopped before a display is looked for (exit 2, not 1), and a deck
# file named from the folder the game is started in.
cd "$work"
export XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state
shipped=$(cd "$root/decks" && printf '%s\n' *.toml | sed 's/\.toml$//' | LC_ALL=C sort | xargs)
[ "$(headless --list-decks | awk '{print $1}' | LC_ALL=C sort | xargs)" = "$shipped" ] ||
    fail "--list-decks: $(headless --list-decks 2>&1)"
printf 'title = "Ours"\nlanguage = "en"\nbase = "english"\n[fields]\n1 = "Sing a song"\n' >ours.toml
install -Dm644 ours.toml "$XDG_DATA_HOME/kraxelbrett/decks/english.toml"
says "0 *english         en      Ours                $XDG_DATA_HOME/kraxelbrett/decks/english.toml (the user's, in place of the game's own)*" headless --list-decks
rm "$XDG_DATA_HOME/kraxelbrett/decks/english.toml"
for deck in $shipped ours.toml; do says "0 $deck: no problems" headless --check "$deck"; done
# Without the font a deck's characters and label sizes go unchecked: no deck is good then. The
# build's binary started from another folder reads the assets beside it.
mkdir lone && cp "$build/kraxelbrett" lone/
says "1 kraxelbrett: assets/SmallMemory.ttf: the game's font cannot be read*" env -u DISPLAY "$work/lone/kraxelbrett" --check "$root/decks/deutsch.toml"
printf 'title = "Beer"\nlanguage = "en"\nbase = "english"\n[fields]\n1 = "\xf0\x9f\x8d\xba"\n' >beer.toml
(cd "$root" && says "1 *U+1F37A is not in the game's font*" env -u DISPLAY "$build/kraxelbrett" --check "$work/beer.toml")
printf 'title = "Bad"\nlanguage = "en"\ncolour = "red"\nbase = "english"\n' >bad.toml
says "2 $work/bad.toml:3: unknown key \"colour\"; a deck has only title, language, base and [fields]" headless bad.toml
says "2 $work/bad.toml:3: unbekannter Schlüssel \"colour\"; ein Deck hat nur *" env LANG=de_DE.UTF-8 "$launcher" bad.toml

# A busy game as the screenshot tool draws it; and on a screen twice the layout's size, where
# every text must be drawn at twice its size, not blown up.
(cd "$build" && ./make_screenshot "$work/busy-game.png" &&
    "$root/scripts/with-display.sh" --screen 3840x2160x24 ./make_screenshot "$work/busy-game-4k.png")
for shot in busy-game busy-game-4k; do same $shot || keep $shot; done

# Without its assets the game still starts: squares without labels. A pipe in place of an
# asset is no asset: the game must not wait on it.
mkdir "$work/assets" && mkfifo "$work/assets/SmallMemory.ttf" "$work/assets/dice.png"
start "$work" "$build/kraxelbrett"
expect_screen bare-board
escape "the bare board" /dev/null 10

# The desktop's key repeat on, as on most desktops; the display's own setting comes back.
xset r on r rate 250 25
export KRAXELBRETT_SEED=7
start "$work" "$launcher"
expect_screen board
# The numpad's plus, and the main keyboard's (Shift and = on this layout).
expect_screen three-players key KP_Add plus KP_Add
# Held for a second: one turn, however often the key repeats.
expect_screen first-roll keydown w sleep 1 keyup w
# Escape in the middle of a roll ends the game at once: within 3 s, where the roll has 3.8 s or
# more to go, so that a loaded machine's late frames do not count against it.
xdotool key w sleep 0.2
escape "a roll" /dev/null 3

# The English board, and a turn on it: the player's row shows the English task. A left click
# rolls as W does (a touch screen's tap comes as one); other buttons and the wheel do nothing.
start "$work" "$launcher" english
expect_screen english-board
expect_screen english-turn key KP_Add click 3 click 2 click 4 click 5 click 1
escape english
# A deck of one's own, named by a path from where the game is started: after a roll onto field
# 1, the English turn but for that field's square and the row, which show the deck's task.
start "$work" "$launcher" ours.toml
settled ours.png
xdotool key KP_Add w
cp "$golden/english-turn.png" ours-turn-as.png
like_english_turn() {
    for name in ours-turn-as ours-turn; do
        convert $name.png -fill black -draw "rectangle 140,10 229,99" -draw "rectangle 1100,0 1919,89" $name-but.png
        convert $name.png -crop 820x90+1100+0 $name-row.png
    done
    alike ours-turn-as-but.png ours-turn-but.png && ! alike ours-turn-as-row.png ours-turn-row.png
}
expect ours-turn like_english_turn
escape ours.toml
[ ! -e "$XDG_STATE_HOME" ] || fail "the game without --tv wrote $(find "$XDG_STATE_HOME")"

# The sofa view: the task reached on a card, saved after every turn; Escape, and --resume
# shows the same screen, pixel for pixel.
saved=$XDG_STATE_HOME/kraxelbrett/game.toml
start "$work" "$launcher" --tv
expect_screen board
expect_screen sofa-card key KP_Add KP_Add w
xdotool key w
# The turn is saved once the die is at rest; then only the token still moves.
timeout 20 sh -c "until grep -qx 'turn = 0' '$saved'; do sleep 0.1; done" || fail "the second turn was not saved"
settled "$work/resumed-as.png" 1
escape --tv
start "$work" "$launcher" --resume
expect resumed alike "$work/resumed-as.png" "$work/resumed.png"
escape --resume
# Games written as the sofa view saves them: a roll from 5 up the ladder at 11, a long task in
# its row, and the podium of four.
# Resumes the game written on its input: it must show NAME, after KEY where one is given,
# pressed once the game is up. Only the board is a new game.
resume() {
    cat >"$saved"
    start "$work" "$launcher" --resume 2>"$work/said"
    [ -z "${2:-}" ] || { settled "$work/resumed-up.png" && xdotool key "$2"; }
    expect_screen "$1"
    escape "$1" "$work/said"
    [ "$1" = board ] || ! grep "a new game starts" "$work/said" || fail "the game written was not resumed"
}
KRAXELBRETT_SEED=4 resume sofa-jump w < <(game_file 0 1 '[]' && player 5 0 false && player 40 0 false)
resume sofa-long-row < <(game_file 1 0 '[]' && player 110 0 false "Wolfgang Amadeus" && player 66 2 false)
# The podium in the board's German and in the English deck's English, and the German card of
# the first home.
podium() { player 112 0 true Anna && player 112 0 true && player 112 0 true Jörg && player 112 0 true; }
resume sofa-podium < <(game_file 0 3 '[2, 0, 3, 1]\ncard = 1' && podium)
resume sofa-podium-english < <(game_file 0 3 '[2, 0, 3, 1]\ncard = 1\ndeck = "english"' && podium)
KRAXELBRETT_SEED=4 resume sofa-first-home w < <(game_file 0 0 '[]' && player 106 0 false Anna && player 40 0 false)
# Nine tokens, four of them on one field, each with its mark: a number, an initial, or as much
# of a name as tells it from another.
resume sofa-marks < <(game_file 0 0 '[]' && player 20 0 false Anna && player 20 0 false &&
    player 20 0 false Andi && player 20 0 false Ölaf && player 5 0 false && player 33 0 false Jörg &&
    player 57 1 false && player 80 0 false Bob && player 99 0 false)
# A saved game that is no game: one line, in the terminal's language, and a new game.
resume board < <(printf 'kraxelbrett = 1\n[[player]]\nfield = 113\n')
grep -q "^$saved:3: .*; a new game starts\$" "$work/said" || fail "a broken saved game: $(cat "$work/said")"
says "1 $saved:3: field ist 113; die Felder gehen von 0 bis 112; ein neues Spiel beginnt*" env -u DISPLAY LANG=de_DE.UTF-8 "$launcher" --resume
echo "e2e: installed, and every screen as expected"
