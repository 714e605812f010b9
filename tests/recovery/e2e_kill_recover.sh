#!/usr/bin/env bash
# Drives the real zunopad: type, rest, kill it with SIGKILL; start it again,
# answer Yes to "Recover Unsaved Changes", save: the typed text is in the
# file. The same after SIGTERM, which must end the program without a
# question. The same when the program's own display goes away. A clean exit
# then leaves no recovery data behind.
#   e2e_kill_recover.sh ZUNOPAD   (run under with_xvfb.sh)
zunopad=$1
name=recover
source "$(dirname "$0")/../e2e/common.sh"
recovery=$XDG_STATE_HOME/zunopad/recovery

# Waits (at most $2 s) until the recovery folder keeps the typing of $1;
# prints how long that took after the last key, in ms.
wait_kept() {
  local start now
  start=$(date +%s%3N)
  for _ in $(seq 1 $(( $2 * 10 ))); do
    # Each key is a record of the entry's journal, its character between
    # the record's binary fields.
    if cat "$recovery"/*.zrec 2>/dev/null | tr -cd '[:print:]' | grep -q -- "$(printf '%s' "$1" | sed 's/./&.*/g')"; then
      now=$(date +%s%3N); echo $(( now - start )); return 0
    fi
    sleep 0.1
  done
  fail "no recovery data with '$1' within $2 s"
}

# Waits (at most 5 s) until the recovery folder is empty; fails with $1.
expect_nothing_kept() {
  for _ in $(seq 1 50); do
    [ -z "$(ls -A "$recovery")" ] && return 0
    sleep 0.1
  done
  fail "$1: $(ls -A "$recovery")"
}

# Starts the program on the file, answers Yes to the question and waits for
# the main window (its caption may mark the unsaved changes).
restart_and_recover() {
  "$zunopad" "$work/ROAD1.PRJ" &
  app_pid=$!
  question=$(window_named 'Recover Unsaved Changes' 20)
  focus "$question"
  xdotool key Return                       # the default button: Yes
  main=$(window_named 'ROAD1\.PRJ.* - ZUNOPad File Editor')
  focus "$main"
}

printf 'AC:1001\r\nBG:5' >"$work/ROAD1.PRJ"
start_zunopad "$zunopad" "$work/ROAD1.PRJ"
xdotool key --delay 50 ctrl+End Return
xdotool type --delay 30 'xx:typed'
kept_after=$(wait_kept 'XX:TYPED' 10)
kill -9 "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=

restart_and_recover
xdotool key --delay 150 alt+f s          # File > Save
expect_file "$work/ROAD1.PRJ" "$(printf 'AC:1001\r\nBG:5\r\nXX:TYPED')"
expect_nothing_kept "a save left recovery data"

# SIGTERM (a logout): the unsaved text is written at once, no question.
xdotool key --delay 50 ctrl+End Return
xdotool type --delay 30 'eg:7'
# The keys reach the program before the signal does (on a loaded machine
# xdotool can be done before the program has read them).
wait_kept 'EG:7' 10 >/dev/null
kill -TERM "$app_pid"
expect_exit "the program did not end on SIGTERM"

restart_and_recover
xdotool key --delay 150 alt+f s
expect_file "$work/ROAD1.PRJ" "$(printf 'AC:1001\r\nBG:5\r\nXX:TYPED\r\nEG:7')"
xdotool key --delay 150 alt+f x          # File > Exit: nothing unsaved
expect_exit "the program did not end on File > Exit"

# A display of its own that goes away while the text is unsaved.
shared_display=$DISPLAY
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
own_xvfb=$!
trap 'kill "$own_xvfb" 2>/dev/null || true; cleanup' EXIT
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "a second Xvfb did not start"
export DISPLAY=":$(head -1 "$work/display" | tr -dc 0-9)"
start_zunopad "$zunopad" "$work/ROAD1.PRJ"
xdotool key --delay 50 ctrl+End Return
xdotool type --delay 30 'ea:9'
wait_kept 'EA:9' 10 >/dev/null
kill "$own_xvfb"
wait "$own_xvfb" 2>/dev/null || true
expect_exit "the program did not end when its display went away"
export DISPLAY=$shared_display

restart_and_recover
xdotool key --delay 150 alt+f s
expect_file "$work/ROAD1.PRJ" "$(printf 'AC:1001\r\nBG:5\r\nXX:TYPED\r\nEG:7\r\nEA:9')"
xdotool key --delay 150 alt+f x
expect_exit "the program did not end on File > Exit"
expect_nothing_kept "a clean exit left recovery data"
echo "e2e recover: ok (kept ${kept_after} ms after the last key)"
