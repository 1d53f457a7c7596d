# Sourced by the end-to-end scripts: start the game, look at the screen, end the game.
# Needs $golden (the reference pictures) and $work (a scratch folder).

differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

# Waits until the screen shows the reference picture; a failure keeps the last screen for a
# look. With KRAXELBRETT_RECORD=1 the settled screen becomes the reference instead.
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
            mkdir -p "$failed"
            cp "$work/screen.png" "$failed/$1.png"
            echo "screen '$1': $(differing "$reference" "$work/screen.png") pixels differ" \
                "(see $failed/$1.png)" >&2
            exit 1
        fi
        sleep 0.2
    done
}

# Starts a game binary in a folder.
start() {
    (cd "$2" && exec "$1") &
    game=$!
}

# Escape ends the game with exit code 0, within the seconds given (10 if none are).
expect_exit() {
    xdotool key Escape
    local code=0
    timeout "${1:-10}" tail --pid="$game" -s 0.05 -f /dev/null ||
        { echo "the game still runs ${1:-10} s after Escape" >&2; exit 1; }
    wait "$game" || code=$?
    game=
    [ "$code" = 0 ] || { echo "exit code $code" >&2; exit 1; }
}

game=
work=$(mktemp -d)
trap '[ -n "$game" ] && kill "$game" 2>/dev/null; rm -rf "$work"' EXIT
