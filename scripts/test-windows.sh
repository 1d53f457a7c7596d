#!/usr/bin/env bash
# Runs the Windows game from its zip under Wine, in a fresh Wine prefix on a private Xvfb at
# 1920x1080x24, and holds it to the native build: it answers --version and a wrong argument
# alike, its first settled frame and the one after three players have joined with numpad plus
# are the native game's pixel for pixel (Mesa's software renderer draws both), and Escape ends
# it with exit code 0. It is heard too, through OpenAL Soft's WAV writer in place of a sound
# card: a player joining makes a sound, and with --mute there is none. It plays from a phone:
# with --phones on loopback, a WebSocket client takes the link off the TV's QR code, joins, rolls
# and sees its token move. The frames, the WAV files and the games' output are kept in
# WINDOWS_DIR/test-frames.
# Usage: test-windows.sh NATIVE_BUILD_DIR WINDOWS_DIR
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${KRAXELBRETT_PRIVATE_DISPLAY:-}" ]; then
  exec env -u DISPLAY KRAXELBRETT_PRIVATE_DISPLAY=1 "$root/scripts/with-display.sh" --desktop "$0" "$@"
fi
native=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$native/CMakeCache.txt")
zip=$windows/kraxelbrett-$version-windows-x64.zip
frames=$windows/test-frames
rm -rf "$frames"
mkdir -p "$frames"

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
# No Mono and no Gecko: the prefix would otherwise offer to install them in a dialog.
export WINEDLLOVERRIDES="mscoree=;mshtml="
game=
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "test-windows: $*" >&2
  exit 1
}

# Waits, up to SECONDS, until the command succeeds.
poll() {
  local seconds=$1
  shift
  for _ in $(seq 1 $((seconds * 5))); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

window_shown() { xdotool search --name '^Kraxelbrett$' >/dev/null 2>&1; }

# Captures the screen until two captures half a second apart are the same, not black, and
# keeps it as NAME.png.
settled_frame() {
  local name=$1 previous=$frames/$1.previous.png current=$frames/$1.png
  import -window root "$previous"
  for _ in $(seq 1 60); do
    sleep 0.5
    import -window root "$current"
    if compare -metric AE "$previous" "$current" null: 2>/dev/null &&
      [ "$(convert "$current" -format '%[fx:maxima]' info:)" != 0 ]; then
      rm -f "$previous"
      return 0
    fi
    mv "$current" "$previous"
  done
  fail "the screen did not settle for $name"
}

# Waits for the game's process to end and checks its exit code.
ends_with_zero() {
  local label=$1 code=0
  poll 30 bash -c "! kill -0 $game 2>/dev/null" || fail "$label did not end on Escape"
  wait "$game" || code=$?
  game=
  [ "$code" -eq 0 ] || fail "$label ended with exit code $code"
}

# Plays the first frame and three players joining; frames are named after the given label.
play() {
  local label=$1
  poll 60 window_shown || fail "no window of $label"
  settled_frame "$label-first"
  xdotool key KP_Add KP_Add KP_Add
  settled_frame "$label-three-players"
  xdotool key Escape
  ends_with_zero "$label"
}

same_frames() {
  local which=$1 differing
  differing=$(compare -metric AE "$frames/linux-$which.png" "$frames/windows-$which.png" \
    "$frames/difference-$which.png" 2>&1) || true
  echo "$which: $differing pixels differ"
  [ "$differing" = 0 ] || fail "the Windows frame ($which) is not the Linux one"
}

mkdir -p "$work/game"
(cd "$work/game" && cmake -E tar xf "$zip")
expected="Alkoholfrei spielen.bat Als Familie spielen.bat Go on with the last game.bat LICENSE.txt"
expected+=" Play alcohol-free.bat Play as a family.bat Play in English.bat"
expected+=" Play with phones.bat README.txt"
expected+=" assets/SmallMemory-LICENSE.txt assets/SmallMemory.ttf assets/dice.png"
expected+=" decks/alcohol-free.toml decks/alkoholfrei.toml decks/deutsch.toml decks/english.toml"
expected+=" decks/familie.toml decks/family.toml"
expected+=" kraxelbrett.exe"
expected+=" licences/Boost.txt licences/FLAC.txt licences/FreeType.txt licences/Ogg.txt"
expected+=" licences/OpenAL-Soft.txt licences/SFML.txt licences/Vorbis.txt licences/qrcodegen.txt"
expected+=" locale/de/LC_MESSAGES/kraxelbrett.mo"
found=$(cd "$work/game" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | xargs)
[ "$found" = "$expected" ] || fail "the zip holds: $found"

echo "test-windows: creating a Wine prefix"
wineboot --init >/dev/null 2>&1
wineserver -w

# Windows ends the lines it prints with CR LF.
[ "$(cd "$work/game" && wine kraxelbrett.exe --version | tr -d '\r')" = "kraxelbrett $version" ] ||
  fail "--version does not answer"
code=0
(cd "$work/game" && wine kraxelbrett.exe --no-such-option 2>/dev/null) || code=$?
[ "$code" -eq 2 ] || fail "a wrong argument gives exit code $code"

(cd "$native" && exec ./kraxelbrett) >"$frames/linux.log" 2>&1 &
game=$!
play linux

(cd "$work/game" && exec wine kraxelbrett.exe) >"$frames/windows.log" 2>&1 &
game=$!
play windows

# The English deck, started from another folder, as a deck dropped onto the .exe starts it.
(cd "$native" && exec ./kraxelbrett english) >"$frames/linux-english.log" 2>&1 &
game=$!
play linux-english

(cd "$work" && exec wine "$work/game/kraxelbrett.exe" english) >"$frames/windows-english.log" 2>&1 &
game=$!
play windows-english

# Plays the game with its sound going into LABEL.wav and a player joining, and lists the sounds
# in it, one line each, in LABEL.sounds. OpenAL Soft reads its configuration file and the
# backend to use from the environment on Windows as well, given as Windows paths.
listen() {
  local label=$1 wav=$frames/$1.wav conf=$frames/$1.conf
  shift
  rm -f "$wav"
  printf '[general]\nsample-type = int16\n[wave]\nfile = %s\n' "$(winepath -w "$wav")" >"$conf"
  (cd "$work/game" && ALSOFT_DRIVERS=wave ALSOFT_CONF=$(winepath -w "$conf") \
    exec wine kraxelbrett.exe "$@") >"$frames/$label.log" 2>&1 &
  game=$!
  # The game opens its sound after the first frame and before it reads the next key.
  poll 60 window_shown || fail "no window of $label"
  settled_frame "$label-first"
  xdotool key KP_Add
  settled_frame "$label-one-player"
  # The WAV file is complete once the game has ended.
  xdotool key Escape
  ends_with_zero "$label"
  "$root/tests/support/wav_onsets.py" "$wav" >"$frames/$label.sounds" || fail "$label: no WAV file"
}

listen windows-sound
[ -s "$frames/windows-sound.sounds" ] || fail "a player joined, and the WAV file holds only silence"
listen windows-muted --mute
[ ! -s "$frames/windows-muted.sounds" ] ||
  fail "with --mute a player joined, and the WAV file holds: $(xargs <"$frames/windows-muted.sounds")"

# A phone on loopback, as Debian's Python with python3-websockets plays one: the link is read off
# the QR code, as a phone reads it, and the one printed on standard output must say the same.
python=/usr/bin/python3
port=$($python -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])')
(cd "$work/game" && exec wine kraxelbrett.exe --phones=127.0.0.1:$port) \
  >"$frames/windows-phones.log" 2>"$frames/windows-phones.err" &
game=$!
poll 60 window_shown || fail "no window with --phones"
settled_frame windows-phones
link=$(zbarimg -q --raw "$frames/windows-phones.png") || fail "no QR code with --phones"
[[ $link == HTTP://127.0.0.1:$port/* ]] || fail "the QR code says $link"
printed=$(sed -n 's/^kraxelbrett: phones join at //p' "$frames/windows-phones.log" | tr -d '\r')
[ "${printed^^}" = "$link" ] || fail "the QR code says $link, standard output ${printed:-nothing}"
timeout 30 $python - "$link" <<'PYTHON' || fail "the phone did not play"
import asyncio, json, sys, urllib.parse, urllib.request
import websockets

link = urllib.parse.urlsplit(sys.argv[1])
origin = f"http://127.0.0.1:{link.port}"

async def until(phone, label, wanted):
    async def read():
        while True:
            message = json.loads(await phone.recv())
            if message["type"] == "error" or wanted(message):
                return message
    try:
        message = await asyncio.wait_for(read(), 10)
    except asyncio.TimeoutError:
        sys.exit(f"test-windows: no {label} message within 10 s")
    if message["type"] == "error":
        sys.exit(f"test-windows: waiting for {label}: {message}")
    return message

async def play():
    # The default board is German, and so is the page and what the game answers a phone.
    page = urllib.request.urlopen(sys.argv[1], timeout=10).read().decode()
    if '<html lang="de">' not in page or ">Mitspielen<" not in page:
        sys.exit("test-windows: the phones' page is not German: " + page[:300])
    async with websockets.connect(f"ws://127.0.0.1:{link.port}{link.path}ws", origin=origin,
                                  open_timeout=10) as phone:
        await phone.send(json.dumps({"type": "roll"}))
        while (message := json.loads(await asyncio.wait_for(phone.recv(), 10)))["type"] != "error":
            pass
        if message["message"] != "Spiel zuerst mit.":
            sys.exit(f"test-windows: a roll before joining got {message}")
        await phone.send(json.dumps({"type": "join", "name": "Wine"}))
        await until(phone, "seated", lambda message: message["type"] == "seated")
        await phone.send(json.dumps({"type": "roll"}))
        await until(phone, "rolling", lambda message: message["type"] == "rolling")
        state = await until(phone, "state with a field", lambda message:
                            message["type"] == "state" and message.get("field", 0) > 0)
        print(f"test-windows: a phone joined, rolled and went to field {state['field']}")

asyncio.run(play())
PYTHON
xdotool key Escape
ends_with_zero windows-phones

same_frames first
same_frames three-players
same_frames english-first
same_frames english-three-players
echo "test-windows: the Windows game draws the Linux frames, with the English deck too, is heard"\
  "as it should be, plays from a phone in German, and ends with exit code 0"
