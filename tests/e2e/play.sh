#!/usr/bin/env bash
# The game installed into a staging folder, then played with real key events through the X
# server, as on a desktop: each screen a step ends on must equal its reference picture pixel
# for pixel. (How the game meets a server with no other client is screens.sh's part.)
# Usage: play.sh CMAKE BUILD_DIR INSTALL_PREFIX VERSION
set -euo pipefail
label=e2e
. "$(dirname "$0")/game.sh"
on_desktop "$@"
build=$2 golden=$root/tests/golden
repeat=$(xset q | awk '/auto repeat delay/ {print $4, $7}')
trap 'xset r rate $repeat; [ -n "$game" ] && kill "$game" 2>/dev/null; rm -rf "$work"' EXIT

# Whether the picture NAME in the scratch folder equals its reference. With KRAXELBRETT_RECORD=1
# it becomes the reference first; with KRAXELBRETT_RECORD=new only where there is none yet.
same() {
    ! recording "$1" || cp "$work/$1.png" "$golden/"
    alike "$golden/$1.png" "$work/$1.png"
}
recording() {
    case "${KRAXELBRETT_RECORD:-}" in
    "") false ;;
    new) [ ! -e "$golden/$1.png" ] ;;
    *) true ;;
    esac
}
# Waits until the screen shows its reference picture; one to record is taken once the screen
# has long settled.
expect_screen() {
    ! recording "$1" || sleep 8
    expect "$1" same "$1"
}
# Runs the game without a display, always inside $(...): the exit code and what it said.
headless() { env -u DISPLAY "$launcher" "$@" >"$work/said" 2>&1; echo "$? $(cat "$work/said")"; }

DESTDIR=$work/stage "$1" --install "$build" >"$work/install.log"
prefix=$work/stage$3 launcher=$work/stage$3/games/kraxelbrett
desktop-file-validate "$prefix/share/applications/kraxelbrett.desktop"
[ -f "$prefix/share/icons/hicolor/64x64/apps/kraxelbrett.png" ] || fail "no icon"
[ -L "$prefix/share/kraxelbrett/assets/SmallMemory.ttf" ] || fail "the font is no link"
[ "$(headless --version)" = "0 kraxelbrett $4" ] || fail "--version: $(headless --version)"
[[ $(headless --help) == "0 Kraxelbrett: a party board game"* ]] || fail "--help: $(headless --help)"
[[ "$(headless --fullscreen)" == "2 Usage: kraxelbrett [--mute] [--tv] [--phones[=ADDRESS:PORT]] [--resume] [DECK] | --list-decks"* ]] || fail "--fullscreen: $(headless --fullscreen)"
# An answer that cannot be written is no success.
for arguments in --help --version; do
    code=0
    "$launcher" $arguments >/dev/full 2>"$work/said" || code=$?
    [[ $code = 1 && $(cat "$work/said") == "kraxelbrett: cannot write the answer: No space left"* ]] ||
        fail "$arguments >/dev/full: exit $code, $(cat "$work/said")"
done
code=0
"$launcher" --fullscreen 2>/dev/full || code=$?
[ "$code" = 1 ] || fail "--fullscreen 2>/dev/full: exit $code"
[ "$(headless)" = "1 kraxelbrett: no X display to open: the DISPLAY variable is not set" ] || fail "no display: $(headless)"
code=0
said=$(DISPLAY=:9999 "$launcher" 2>&1) || code=$?
[ "$code $said" = "1 kraxelbrett: cannot open the X display DISPLAY=:9999" ] || fail "no server: $code $said"

# Decks, without a display: the shipped ones listed and good, a user's deck in place of a
# shipped one, a bad deck stopped before a display is looked for (exit 2, not 1), and a deck
# file named from the folder the game is started in.
export XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state
shipped=$(cd "$root/decks" && ls -- *.toml | sed 's/\.toml$//' | LC_ALL=C sort | xargs)
[ "$(env -u DISPLAY "$launcher" --list-decks | awk '{print $1}' | LC_ALL=C sort | xargs)" = "$shipped" ] ||
    fail "--list-decks: $(headless --list-decks)"
mkdir -p "$XDG_DATA_HOME/kraxelbrett/decks"
printf 'title = "Ours"\nlanguage = "en"\nbase = "english"\n[fields]\n1 = "Sing a song"\n' |
    tee "$XDG_DATA_HOME/kraxelbrett/decks/english.toml" >"$work/ours.toml"
[[ $(headless --list-decks) == *"english         en      Ours                $XDG_DATA_HOME/kraxelbrett/decks/english.toml (the user's, in place of the game's own)"* ]] ||
    fail "a user's deck in place of the game's: $(headless --list-decks)"
rm "$XDG_DATA_HOME/kraxelbrett/decks/english.toml"
for deck in $shipped ours.toml; do
    [ "$(cd "$work" && headless --check "$deck")" = "0 $deck: no problems" ] || fail "--check $deck: $(headless --check "$deck")"
done
# Without the font a deck's characters and label sizes go unchecked: no deck is good then. The
# build's binary started from another folder reads the assets beside it.
mkdir "$work/lone" && cp "$build/kraxelbrett" "$work/lone/"
said=$(cd "$work" && env -u DISPLAY "$work/lone/kraxelbrett" --check "$root/decks/deutsch.toml" 2>&1) && fail "--check without the font: exit 0"
[[ $said == "kraxelbrett: assets/SmallMemory.ttf: the game's font cannot be read"* ]] || fail "--check without the font: $said"
printf 'title = "Beer"\nlanguage = "en"\nbase = "english"\n[fields]\n1 = "\xf0\x9f\x8d\xba"\n' >"$work/beer.toml"
said=$(cd "$root" && env -u DISPLAY "$build/kraxelbrett" --check "$work/beer.toml" 2>&1) && fail "--check from the repository: exit 0"
[[ $said == *"U+1F37A is not in the game's font"* ]] || fail "--check from the repository: $said"
printf 'title = "Bad"\nlanguage = "en"\ncolour = "red"\nbase = "english"\n' >"$work/bad.toml"
[ "$(cd "$work" && headless bad.toml)" = "2 $work/bad.toml:3: unknown key \"colour\"; a deck has only title, language, base and [fields]" ] ||
    fail "a bad deck: $(cd "$work" && headless bad.toml)"

# A busy game as the screenshot tool draws it; and on a screen twice the layout's size, where
# every text must be drawn at twice its size, not blown up.
(cd "$build" && ./make_screenshot "$work/busy-game.png")
same busy-game || keep busy-game
(cd "$build" && "$root/scripts/with-display.sh" --screen 3840x2160x24 ./make_screenshot "$work/busy-game-4k.png")
same busy-game-4k || keep busy-game-4k

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
xdotool key KP_Add plus KP_Add
expect_screen three-players
# Held for a second: one turn, however often the key repeats.
xdotool keydown w sleep 1 keyup w
expect_screen first-roll
# Escape in the middle of a roll ends the game at once.
xdotool key w sleep 0.5
escape "a roll" /dev/null 1

# The English board, and a turn on it: the player's row shows the English task. A left click
# rolls as W does (a tap on a touch screen comes as one); the other buttons and the wheel do
# nothing.
start "$work" "$launcher" english
expect_screen english-board
xdotool key KP_Add click 3 click 2 click 4 click 5 click 1
expect_screen english-turn
escape english
# A deck of one's own, named by a path from where the game is started: after a roll onto field
# 1, the English turn but for that field's square and the row, which show the deck's task.
start "$work" "$launcher" ours.toml
settled "$work/ours.png"
xdotool key KP_Add w
cp "$golden/english-turn.png" "$work/ours-turn-as.png"
like_english_turn() {
    for name in ours-turn-as ours-turn; do
        convert "$work/$name.png" -fill black -draw "rectangle 140,10 229,99" -draw "rectangle 1100,0 1919,89" "$work/$name-but.png"
        convert "$work/$name.png" -crop 820x90+1100+0 "$work/$name-row.png"
    done
    alike "$work/ours-turn-as-but.png" "$work/ours-turn-but.png" &&
        ! alike "$work/ours-turn-as-row.png" "$work/ours-turn-row.png"
}
expect ours-turn like_english_turn
escape ours.toml
[ ! -e "$XDG_STATE_HOME" ] || fail "the game without --tv wrote $(find "$XDG_STATE_HOME")"

# The sofa view: the task reached on a card, saved after every turn; Escape, and --resume
# shows the same screen, pixel for pixel.
saved=$XDG_STATE_HOME/kraxelbrett/game.toml
start "$work" "$launcher" --tv
expect_screen board
xdotool key KP_Add KP_Add w
expect_screen sofa-card
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
game_file() {
    printf '# Kraxelbrett\nkraxelbrett = 1\nturn = %s\nmarker = %s\n%b\n' "$1" "$2" "$3" >"$saved"
    shift 3
    for player in "$@"; do printf '[[player]]\n%b\n' "$player" >>"$saved"; done
}
# Resumes the game written: it must show NAME, after KEY where one is given, pressed once the
# game is up. Only the board is a new game.
resume() {
    start "$work" "$launcher" --resume 2>"$work/said"
    [ -z "${2:-}" ] || { settled "$work/resumed-up.png" && xdotool key "$2"; }
    expect_screen "$1"
    escape "$1" "$work/said"
    [ "$1" = board ] || ! grep "a new game starts" "$work/said" || fail "the game written was not resumed"
}
game_file 0 1 'finish-order = []' 'field = 5\ntask = 5\nwaits = 0\nfinished = false' \
    'field = 40\ntask = 40\nwaits = 0\nfinished = false'
KRAXELBRETT_SEED=4 resume sofa-jump w
game_file 1 0 'finish-order = []' \
    'field = 110\ntask = 110\nwaits = 0\nfinished = false\nname = "Wolfgang Amadeus"' \
    'field = 66\ntask = 66\nwaits = 2\nfinished = false'
resume sofa-long-row
home='task = 112\nwaits = 0\nfinished = true'
game_file 0 3 'finish-order = [2, 0, 3, 1]\ncard = 1' "field = 112\n$home\nname = \"Anna\"" \
    "field = 112\n$home" "field = 112\n$home\nname = \"Jörg\"" "field = 112\n$home"
resume sofa-podium
# A saved game that is no game: one line, and a new game.
printf 'kraxelbrett = 1\n[[player]]\nfield = 113\n' >"$saved"
resume board
grep -q "^$saved:3: .*; a new game starts\$" "$work/said" || fail "a broken saved game: $(cat "$work/said")"
echo "e2e: installed, and every screen as expected"
