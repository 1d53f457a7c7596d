#!/usr/bin/env bash
# What the game plays, read back from OpenAL Soft's WAV writer, which stands in for a sound
# card: a player joining and two rolls with a fixed seed, a 6 and then a 5 onto the ladder at
# field 11; the same with --mute; M off and on again; and a machine without sound.
# Usage: sound.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd) build=$(cd "$1" && pwd)
[ -n "${KRAXELBRETT_DESKTOP:-}" ] ||
    exec env KRAXELBRETT_DESKTOP=1 "$root/scripts/with-display.sh" --desktop "$0" "$@"
work=$(mktemp -d) game=
trap '[ -n "$game" ] && kill "$game" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "sound: $*" >&2; exit 1; }
. "$root/tests/e2e/game.sh"

# Starts the game with its sound going into NAME.wav (mono, 16 bits, mixed in short periods
# so that a sound starts within 1.5 ms of being played), and waits for the board: the sound is
# opened right after it.
start() {
    local name=$1
    shift
    printf '[general]\nchannels = mono\nsample-type = int16\nperiod_size = 64\n[wave]\nfile = %s\n' \
        "$work/$name.wav" >"$work/$name.conf"
    (cd "$build" && ALSOFT_DRIVERS=${drivers:-wave} ALSOFT_CONF=$work/$name.conf \
        KRAXELBRETT_SEED=15 exec ./kraxelbrett "$@" 2>"$work/$name.said") &
    game=$!
    settled "$work/$name.png"
}
# The sounds in NAME.wav as letters: b a blip, r a click of the die, k its knock, s a sweep.
heard() {
    "$build/tests/wav_onsets" "$work/$1.wav" >"$work/$1.onsets" || fail "$1: no WAV file"
    awk '{ if ($2 >= -1) { print "clipping: " $0; exit }
           printf "%s", $3 < 15 ? "r" : $3 < 100 ? "b" : $3 < 200 ? "k" : "s" }' "$work/$1.onsets"
}
repeat() { printf "%${2}s" | tr ' ' "$1"; }

# One player, and two rolls: the second W waits for the first roll to end.
start rolls
xdotool key KP_Add
sleep 0.3
xdotool key w w
# The two turns take 5.5 and 4.9 s, and the sweep comes with the second's end, 10.5 s from
# now, and lasts 0.45 s; then two seconds to spare. Nothing else runs meanwhile: a capture of
# the screen would hold up the X server and the game's frames.
sleep 13
escape rolls "$work/rolls.said" 10
expected=b$(repeat r 34)k$(repeat r 33)ks
[ "$(heard rolls)" = "$expected" ] || fail "rolls: heard $(heard rolls), not $expected"
# Each click comes with its frame, on the die's schedule: frame k is due 7 x k x (k - 1) / 2 ms
# after the first, or a frame (1/60 s) after the one before it if that is later; each within
# 15 ms. Every frame but the first is drawn after its wait, which puts all of them the same
# time later: that time is taken from the last ten. One frame a roll may be up to 50 ms off:
# a busy machine holds up the game or the WAV writer's thread now and then, where a wrong
# schedule puts frame after frame off. The sweep comes with the token's first step after the
# second roll's pause of a second.
[ "${KRAXELBRETT_SOUND_BEAT:-}" = off ] ||
awk 'NR > 1 { t[n++] = $1 }
     END {
       first = 0
       for (roll = 0; roll < 2; roll++) {
         frames = roll == 0 ? 35 : 34
         drawing = 0
         held_up = 0
         for (k = frames - 10; k < frames; k++) drawing += (t[first + k] - t[first] - 7 * k * (k - 1) / 2) / 10
         for (k = 1; k < frames; k++) {
           due = t[first] + drawing + 7 * k * (k - 1) / 2
           after = t[first + k - 1] + 1000 / 60
           expected = due > after ? due : after
           off = t[first + k] - expected
           if ((off < -15 || off > 15) && (off < -50 || off > 50 || ++held_up > 1)) {
             printf "roll %d, frame %d: %.1f ms off its time\n", roll + 1, k + 1, off
             exit 1
           }
         }
         first += frames
       }
       wait = t[first] - t[first - 1] - 7 * 33
       if (wait < 985 || wait > 1100) { printf "the sweep came %.1f ms after the pause began\n", wait; exit 1 }
     }' "$work/rolls.onsets" || fail "rolls: off the die's beat"

# With --mute: silence, for as long as the game ran.
start muted --mute
xdotool key KP_Add
sleep 0.3
xdotool key w
settled "$work/muted-done.png" 1.5
escape muted "$work/muted.said" 10
[ "$(heard muted)" = "" ] || fail "--mute: heard $(heard muted)"
[ "$(stat -c %s "$work/muted.wav")" -gt $((2 * 44100 * 5)) ] || fail "--mute: no WAV of the game's length"

# M: a blip for the player joining, none while off, a blip when it comes back, and one for
# the player leaving.
start toggled
xdotool key KP_Add sleep 0.3 key m sleep 0.3 key KP_Add sleep 0.3 key m sleep 0.3 key KP_Subtract sleep 0.3
escape toggled "$work/toggled.said" 10
[ "$(heard toggled)" = bbb ] || fail "M: heard $(heard toggled)"

# No sound card: a silent game, one line about it, and the game plays as ever.
drivers=no-such-driver start silent
xdotool key KP_Add sleep 0.3 key w
sleep 1
escape silent "$work/silent.said" 10
grep -v '^Setting vertical sync not supported$' "$work/silent.said" >"$work/silent.lines" || true
[ "$(cat "$work/silent.lines")" = "kraxelbrett: no audio device; the game plays without sound" ] ||
    fail "no sound card: said $(cat "$work/silent.said")"
echo "sound: every roll heard as played"
