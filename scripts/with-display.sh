#!/usr/bin/env bash
# Runs a command with an X display: the one that is set, or else a private Xvfb at
# 1920x1080x24 that is started for the command and always taken down after it.
# Usage: with-display.sh [--screen WxHxDEPTH] COMMAND...  (--screen: always a private Xvfb)
set -euo pipefail

screen=1920x1080x24
if [ "${1:-}" = --screen ]; then
  screen=$2
  shift 2
elif [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi

workdir=$(mktemp -d)
# -displayfd picks a free display number and writes it once the server accepts clients.
# -noreset: by default the server resets whenever its last client leaves, and a client
# that connects during the reset is refused. Tests start and end games one after another.
Xvfb -displayfd 3 -noreset -screen 0 "$screen" -nolisten tcp 3>"$workdir/display" 2>"$workdir/xvfb.log" &
xvfb=$!
cleanup() {
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -rf "$workdir"
}
trap cleanup EXIT INT TERM

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

"$@"
