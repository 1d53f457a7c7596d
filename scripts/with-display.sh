#!/usr/bin/env bash
# Runs a command with an X display: the one that is set, or else a private Xvfb at
# 1920x1080x24 that is started for the command and always taken down after it.
# Usage: with-display.sh [--screen WxHxDEPTH] [--desktop] COMMAND...
#   --screen   always a private Xvfb, of that size and depth
#   --desktop  an idle client stays connected while the command runs, as a desktop's window
#              manager does
#
# The Xvfb resets whenever its last client leaves, as a player's X server does, and refuses
# connections until it is back: the game has to cope with that. A script that starts and
# ends programs one after another and is not about that asks for --desktop.
set -euo pipefail

screen=1920x1080x24 private= desktop=
while :; do
  case "${1:-}" in
    --screen) screen=$2 private=1; shift 2 ;;
    --desktop) desktop=1; shift ;;
    *) break ;;
  esac
done
if [ -z "$private" ] && [ -z "$desktop" ] && [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi

workdir=$(mktemp -d) xvfb= holder=
cleanup() {
  for pid in $holder $xvfb; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$workdir"
}
trap cleanup EXIT INT TERM

if [ -n "$private" ] || [ -z "${DISPLAY:-}" ]; then
  # -displayfd picks a free display number and writes it once the server accepts clients.
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$workdir/display" 2>"$workdir/xvfb.log" &
  xvfb=$!
  for _ in $(seq 1 100); do
    [ -s "$workdir/display" ] && break
    if ! kill -0 "$xvfb" 2>/dev/null; then
      cat "$workdir/xvfb.log" >&2
      exit 1
    fi
    sleep 0.1
  done
  [ -s "$workdir/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(cat "$workdir/display")"
fi

if [ -n "$desktop" ]; then
  # xprop prints the property once connected and then waits for changes that never come. A
  # server that is resetting refuses it for a moment.
  for _ in $(seq 1 100); do
    xprop -root -spy _KRAXELBRETT_DESKTOP >"$workdir/desktop" 2>&1 &
    holder=$!
    while [ ! -s "$workdir/desktop" ] && kill -0 "$holder" 2>/dev/null; do sleep 0.02; done
    kill -0 "$holder" 2>/dev/null && grep -q _KRAXELBRETT_DESKTOP "$workdir/desktop" && break
    wait "$holder" 2>/dev/null || true
    holder=
    sleep 0.05
  done
  [ -n "$holder" ] || { echo "no X client could connect to $DISPLAY" >&2; exit 1; }
fi

"$@"
