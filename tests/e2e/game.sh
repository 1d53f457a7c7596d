# shellcheck shell=bash
# Set-up and steps shared by the scripts that drive the real game, sourced right after their
# set -euo pipefail, with $label naming the script in its failures. The game's process id is
# kept in $game, and killed on the way out.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd) game=
fail() { echo "$label: $*" >&2; exit 1; }

# Runs the calling script again on a desktop of its own (see with-display.sh), with a scratch
# folder in $work that goes with it.
on_desktop() {
    [ -n "${KRAXELBRETT_DESKTOP:-}" ] ||
        exec env KRAXELBRETT_DESKTOP=1 "$root/scripts/with-display.sh" --desktop "$0" "$@"
    work=$(mktemp -d)
    trap '[ -n "$game" ] && kill "$game" 2>/dev/null; rm -rf "$work"' EXIT
}

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
    local what=$1 said=${2:-/dev/null} seconds=${3:-5} code=0
    xdotool key Escape
    timeout "$seconds" tail --pid="$game" -s 0.05 -f /dev/null || fail "$what: still running after Escape"
    wait "$game" || code=$?
    game=
    [ "$code" = 0 ] || fail "$what: exit code $code: $(cat "$said")"
}
