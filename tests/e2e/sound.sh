#!/usr/bin/env bash
# What the game plays, read back from OpenAL Soft's WAV writer, which stands in for a sound
# card: a player joining and two rolls with a fixed seed, a 6 and then a 5 onto the ladder at
# field 11; the same with --mute; and a machine without sound.
# Usage: sound.sh BUILD_DIR
set -euo pipefail
label=sound
. "$(dirname "$0")/game.sh"
on_desktop "$@"
build=$(cd "$1" && pwd)

# Plays the game with its sound going into NAME.wav (mono, 16 bits): once the board is up, as
# the sound is opened right after it, one player joins and rolls ROLLS times (a W during a roll
# waits for it to end); Escape SECONDS later. ARGUMENTS go to the game.
play() {
    local name=$1 rolls=$2 seconds=$3
    printf '[general]\nchannels = mono\nsample-type = int16\nperiod_size = 64\n[wave]\nfile = %s\n' "$work/$name.wav" >"$work/$name.conf"
    ALSOFT_DRIVERS=${drivers:-wave} ALSOFT_CONF=$work/$name.conf KRAXELBRETT_SEED=15 \
        start "$build" ./kraxelbrett "${@:4}" 2>"$work/$name.said"
    settled "$work/$name.png"
    xdotool key KP_Add sleep 0.3
    for _ in $(seq "$rolls"); do xdotool key w; done
    sleep "$seconds"
    escape "$name" "$work/$name.said" 10
}
# The sounds in NAME.wav as letters: b a blip, r a click of the die, k its knock, s a sweep. Held
# up by a load, the writer mixes what was played meanwhile at once, and a click may start within
# the one before, which it cuts off: each start is a click.
heard() {
    "$root/tests/support/wav_onsets.py" "$work/$1.wav" >"$work/$1.onsets" || fail "$1: no WAV file"
    awk '{ if ($2 >= -1) { print "clipping: " $0; exit }
           if ($3 < 15 * $4 && $3 < 30) while ($4-- > 0) printf "r"
           else printf "%s", $3 < 100 ? "b" : $3 < 200 ? "k" : "s" }' "$work/$1.onsets"
}
repeat() { printf "%${2}s" | tr ' ' "$1"; }

# The two turns take 5.5 and 4.9 s, and the sweep comes with the second's end, 10.5 s after
# the rolls, and lasts 0.45 s; then two seconds to spare. Nothing else runs meanwhile: a capture
# of the screen would hold up the X server and the game's frames.
play rolls 2 13
says "0 b$(repeat r 34)k$(repeat r 33)ks" heard rolls
# With --mute: silence, for as long as the game ran, which is long enough for the roll (5.5 s):
# the writer writes the game's sound in real time.
play muted 1 7 --mute
says "0 " heard muted
[ "$(stat -c %s "$work/muted.wav")" -gt $((2 * 44100 * 5)) ] || fail "--mute: no WAV of the game's length"
# No sound card: a silent game, one line about it, and the game plays as ever.
drivers=no-such-driver play silent 1 1
says "0 kraxelbrett: no audio device; the game plays without sound" \
    grep -v '^Setting vertical sync not supported$' "$work/silent.said"
echo "sound: every roll heard as played"
