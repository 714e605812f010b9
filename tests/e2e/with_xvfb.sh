#!/usr/bin/env bash
# Runs a command against a private Xvfb display and stops the server
# afterwards, whatever the command does. The server picks a free display
# number itself, so that tests running side by side never share one.
#   with_xvfb.sh COMMAND [ARGS...]
set -u
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -f "$displayfile"' EXIT INT TERM
for _ in $(seq 1 100); do
  [ -s "$displayfile" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$displayfile" ] || { echo "Xvfb gave no display" >&2; exit 1; }
export DISPLAY=":$(head -1 "$displayfile" | tr -dc 0-9)"
for _ in $(seq 1 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
export QT_QPA_PLATFORM=xcb
"$@"
