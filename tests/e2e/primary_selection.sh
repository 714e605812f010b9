#!/usr/bin/env bash
# Drives the real zunopad under X11 and reads the PRIMARY selection as
# another program does (xclip): Edit > Go To the last line of a large file
# leaves PRIMARY to the program that held it; Edit > Find puts exactly the
# found text there.
#   primary_selection.sh ZUNOPAD   (run under with_xvfb.sh)
zunopad=$1
name=primary
source "$(dirname "$0")/common.sh"
command -v xclip >/dev/null || fail "xclip is not installed"
holder=
trap 'cleanup; [ -n "$holder" ] && kill "$holder" 2>/dev/null || true' EXIT

# Reads PRIMARY (at most 10 s).
primary() { timeout 10 xclip -o -selection primary 2>/dev/null || true; }

for i in $(seq 1 20000); do printf 'XX:LINE %d,FILLER TEXT\r\n' "$i"; done >"$work/BIG.PRJ"
printf 'EG:LAST' >>"$work/BIG.PRJ"

# Another program holds PRIMARY; it answers one request, then ends.
printf 'held elsewhere' | timeout 120 xclip -quiet -loops 1 -selection primary -i >/dev/null 2>&1 &
holder=$!
start_zunopad "$zunopad" "$work/BIG.PRJ"

xdotool key --delay 150 alt+e g               # Edit > Go To
focus "$(window_named 'Go To Line' 10)"
xdotool type --delay 30 '20001'
xdotool key Return
wait_gone 'Go To Line' || fail "the Go To Line dialog did not close on Enter"
focus "$main"
[ "$(primary)" = "held elsewhere" ] || fail "Go To changed PRIMARY"

xdotool key --delay 150 alt+e f               # Edit > Find
dialog=$(window_named 'Find')
focus "$dialog"
xdotool type --delay 30 'eg:last'
xdotool key --delay 150 alt+f                 # Find Next
for _ in $(seq 1 50); do
  [ "$(primary)" = "EG:LAST" ] && break
  sleep 0.2
done
[ "$(primary)" = "EG:LAST" ] || fail "PRIMARY holds '$(primary | head -c 80)' after Find"

focus "$main"
xdotool key --delay 150 alt+f x               # File > Exit
expect_exit "the program did not end after File > Exit"
echo "e2e PRIMARY after Go To and Find: ok"
