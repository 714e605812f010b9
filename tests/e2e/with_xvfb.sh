#!/usr/bin/env bash
# Runs a command against a private Xvfb display and stops the server
# afterwards, whatever the command does.
#   with_xvfb.sh COMMAND [ARGS...]
set -u
for n in $(seq 90 190); do
  [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ] || { display=":$n"; break; }
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null' EXIT INT TERM
for _ in $(seq 1 100); do
  DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
export DISPLAY="$display"
export QT_QPA_PLATFORM=xcb
"$@"
