# Steps shared by the scripts that drive the real game, to be sourced. The caller defines
# fail and keeps the game's process id in $game.

# Waits until the screen (or WINDOW), captured every SECONDS into PICTURE, settles: the same
# twice in a row, and not black.
settled() {
    local picture=$1 seconds=${2:-0.3} from=${3:-root}
    import -window "$from" "$picture.before.png"
    for _ in $(seq 1 50); do
        sleep "$seconds"
        import -window "$from" "$picture"
        if [ "$(compare -metric AE "$picture" "$picture.before.png" null: 2>&1)" = 0 ] &&
            [ "$(convert "$picture" -format '%[fx:maxima]' info:)" != 0 ]; then
            return 0
        fi
        mv "$picture" "$picture.before.png"
    done
    fail "the screen did not settle for $picture"
}

# Escape, and the game must be gone with exit code 0 within SECONDS; a failure shows what it
# said on standard error, kept in the file SAID.
escape() {
    local label=$1 said=$2 seconds=${3:-5}
    xdotool key Escape
    timeout "$seconds" tail --pid="$game" -s 0.05 -f /dev/null || fail "$label: still running after Escape"
    local code=0
    wait "$game" || code=$?
    game=
    [ "$code" = 0 ] || fail "$label: exit code $code: $(cat "$said")"
}
