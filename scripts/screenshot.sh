#!/usr/bin/env bash
# Starts the game on the current X display, presses the given keys as a player would
# (xdotool key names, e.g. KP_Add w), waits for the screen to settle and saves it as a PNG.
# Usage: screenshot.sh BUILD_DIR OUTPUT.png [KEY ...]
set -euo pipefail

build_dir=$(cd "$1" && pwd)
output=$2
shift 2
mkdir -p "$(dirname "$output")"

(cd "$build_dir" && exec ./kraxelbrett) &
game=$!
trap 'kill "$game" 2>/dev/null || true' EXIT
sleep 2

for key in "$@"; do
  case "$key" in
    sleep:*) sleep "${key#sleep:}" ;;
    *) xdotool key "$key"; sleep 0.2 ;;
  esac
done
sleep 2

import -window root "$output"
xdotool key Escape
wait "$game"
trap - EXIT
echo "Saved $output"
