#!/usr/bin/env bash
# Several windows: a second window is placed clear of the first; a further
# `zunopad FILE` of a file that a window holds brings that window forward
# and opens no second copy; where the holder cannot be reached (no session
# bus), the file is opened read-only, and says so.
#   e2e_two_windows.sh ZUNOPAD   (run under dbus-run-session and with_xvfb.sh)
zunopad=$1
name=two_windows
source "$(dirname "$0")/../e2e/common.sh"
others=()
trap 'for p in "${others[@]}"; do kill "$p" 2>/dev/null || true; done; cleanup' EXIT
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || fail "no session bus to run on"

printf 'AC:1001\r\nBG:5' >"$work/ROAD1.PRJ"
printf 'AC:2' >"$work/B.CTL"
start_zunopad "$zunopad" "$work/ROAD1.PRJ"

"$zunopad" "$work/B.CTL" &
others+=($!)
second=$(window_named 'B.CTL - ZUNOPad File Editor')
corner() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^[XY]=//p' | tr '\n' ' '; }
[ "$(corner "$main")" != "$(corner "$second")" ] || fail "the second window stands exactly on the first"

# The same file again: the first window is asked to come forward, and the
# new process ends without a window of its own.
"$zunopad" "$work/ROAD1.PRJ" &
third=$!
for _ in $(seq 1 100); do
  kill -0 "$third" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$third" 2>/dev/null && { others+=("$third"); fail "a second process stayed for a file already open"; }
wait "$third" || fail "the second process for the file did not end cleanly"
count=$(xdotool search --onlyvisible --name '^ROAD1.PRJ - ZUNOPad File Editor$' | wc -l)
[ "$count" = 1 ] || fail "$count windows hold ROAD1.PRJ"

# No session bus: the holder is known but cannot be reached.
DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus "$zunopad" "$work/ROAD1.PRJ" &
others+=($!)
box=$(window_named 'File Already Open' 20)
focus "$box"
xdotool key Return
wait_gone 'File Already Open' || fail "the warning did not close"
for _ in $(seq 1 100); do
  count=$(xdotool search --onlyvisible --name '^ROAD1.PRJ - ZUNOPad File Editor$' | wc -l)
  [ "$count" = 2 ] && break
  sleep 0.1
done
[ "$count" = 2 ] || fail "the read-only copy did not open"
echo "e2e two windows: ok"
