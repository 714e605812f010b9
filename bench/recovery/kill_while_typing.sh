#!/usr/bin/env bash
# What kill -9 loses while typing goes on without a pause, in the real
# program on a large document: keys are sent one at a time (each one's time
# logged) at the end of a file of MB megabytes; the program is killed
# mid-typing; started again, the recovery is accepted and saved; the keys
# that came back are counted, and the time from the first key that did not
# to the kill is what was lost.
#   tests/e2e/with_xvfb.sh bench/recovery/kill_while_typing.sh ZUNOPAD [MB] [SECONDS]
zunopad=$1
megabytes=${2:-50}
typing=${3:-6}
name=kill_while_typing
source "$(dirname "$0")/../../tests/e2e/common.sh"

file=$work/ROAD1.PRJ
# A megabyte of whole lines, as often as asked; then the line the typing
# goes on.
printf 'AC:1001\r\nPL:1,2,3,45\r\n%.0s' $(seq 1 45454) >"$work/chunk"
for _ in $(seq 1 "$megabytes"); do cat "$work/chunk"; done >"$file"
printf 'BG:' >>"$file"
size=$(wc -c <"$file")

start_zunopad "$zunopad" "$file"
xdotool key ctrl+End
sleep 1
start=$(date +%s%3N)
: >"$work/keys"
while [ $(( $(date +%s%3N) - start )) -lt $(( typing * 1000 )) ]; do
  xdotool key x
  date +%s%3N >>"$work/keys"
  sleep 0.03
done &
typist=$!
sleep "$(( typing / 2 ))"
kill -9 "$app_pid"
killed=$(date +%s%3N)
wait "$app_pid" 2>/dev/null || true
app_pid=
kill "$typist" 2>/dev/null || true
wait "$typist" 2>/dev/null || true

"$zunopad" "$file" &
app_pid=$!
question=$(window_named 'Recover Unsaved Changes' 60)
focus "$question"
xdotool key Return
main=$(window_named 'ROAD1\.PRJ.* - ZUNOPad File Editor' 60)
focus "$main"
xdotool key --delay 150 alt+f s
# The save renames the whole new file into place: once larger, it is whole.
for _ in $(seq 1 600); do
  [ "$(wc -c <"$file")" -gt "$size" ] && break
  sleep 0.1
done
back=$(tail -c 100000 "$file" | tr -dc Xx | wc -c)
sent_before_kill=$(awk -v k="$killed" '$1 <= k' "$work/keys" | wc -l)
[ "$back" -gt 0 ] || fail "none of the $sent_before_kill keys came back"
# The first key lost, if any, and how long before the kill it was sent.
if [ "$back" -ge "$sent_before_kill" ]; then
  lost_ms=0
else
  first_lost=$(sed -n "$(( back + 1 ))p" "$work/keys")
  lost_ms=$(( killed - first_lost ))
fi
echo "kill while typing, ${megabytes} MB: ${sent_before_kill} keys sent before the kill, ${back} came back, ${lost_ms} ms of typing lost"
xdotool key --delay 150 alt+f x
expect_exit "the program did not end on File > Exit"
