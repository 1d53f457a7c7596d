# shellcheck shell=bash
# Steps shared by the scripts that drive the real game, sourced after their set -euo pipefail:
# $label names the script in failures, $build is the build folder, $game the game's process id.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd) game=
# The terminal's language is the desktop's: the checks read English unless they ask for another.
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG=C.UTF-8
fail() { echo "$label: $*" >&2; exit 1; }

# Runs the script again on a desktop of its own (see with-display.sh), with a scratch $work.
on_desktop() {
    [ -n "${KRAXELBRETT_DESKTOP:-}" ] ||
        exec env KRAXELBRETT_DESKTOP=1 "$root/scripts/with-display.sh" --desktop "$0" "$@"
    work=$(mktemp -d)
    trap '[ -n "$game" ] && kill "$game" 2>/dev/null; rm -rf "$work"' EXIT
}

start() { (cd "$1" && exec "${@:2}") & game=$!; }

# COMMAND's exit code and all it says, as "CODE SAID", must be WANT, in which a * stands for
# anything and every other character for itself.
# shellcheck disable=SC2053
says() {
    local want=$1 pattern=${1//[!*]/\\&} said code=0
    said=$("${@:2}" 2>&1) || code=$?
    [[ "$code $said" == $pattern ]] || fail "${*:2}: \"$code $said\", not \"$want\""
}

# Whether two pictures are the same pixel for pixel, or within FUZZ.
alike() { [ "$(compare -metric AE -fuzz "${3:-0}" "$1" "$2" null: 2>&1)" = 0 ]; }

# Waits until the screen (or WINDOW), captured every SECONDS into PICTURE, settles: the same
# twice in a row, and not black.
settled() {
    local picture=$1 seconds=${2:-0.3} from=${3:-root}
    import -window "$from" "$picture.before.png"
    for _ in $(seq 1 50); do
        sleep "$seconds"
        import -window "$from" "$picture"
        alike "$picture" "$picture.before.png" &&
            [ "$(convert "$picture" -format '%[fx:maxima]' info:)" != 0 ] && return 0
        mv "$picture" "$picture.before.png"
    done
    fail "the screen did not settle for $picture"
}

# Waits until the screen, captured into NAME.png in $work, passes the check that follows: a step
# ends on what the screen shows, not on its standing still, as it may while a load holds it up.
expect() {
    local name=$1 deadline=$((SECONDS + 20))
    shift
    until import -window root "$work/$name.png" && "$@"; do
        [ "$SECONDS" -le "$deadline" ] || keep "$name"
        sleep 0.2
    done
}
# Fails on NAME.png, kept for a look in the build's $label-failed folder with NAME-as.png.
keep() {
    local failed=$build/$label-failed
    mkdir -p "$failed" && cp "$work/$1.png" "$failed/"
    [ ! -e "$work/$1-as.png" ] || cp "$work/$1-as.png" "$failed/"
    fail "$1 differs: see $failed/$1.png"
}

# Escape, and the game must be gone within SECONDS with exit code 0, or fail with its SAID file.
escape() {
    local what=$1 said=${2:-/dev/null} seconds=${3:-5} code=0
    xdotool key Escape
    timeout "$seconds" tail --pid="$game" -s 0.05 -f /dev/null || fail "$what: still running after Escape"
    wait "$game" || code=$?
    game=
    [ "$code" = 0 ] || fail "$what: exit code $code: $(cat "$said")"
}

# A saved game: game_file TURN MARKER FINISH-ORDER, then player FIELD WAITS FINISHED [NAME] each.
game_file() { printf '# Kraxelbrett\nkraxelbrett = 1\nturn = %s\nmarker = %s\nfinish-order = %b\n' "$@"; }
player() {
    printf '[[player]]\nfield = %s\ntask = %s\nwaits = %s\nfinished = %s\n' "$1" "$1" "$2" "$3"
    [ -z "${4:-}" ] || printf 'name = "%s"\n' "$4"
}
