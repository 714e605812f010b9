#!/usr/bin/env bash
# Drives the real zunopad as a user would: types at the end of the text,
# uses Edit > Go To to jump back and forth, types a marker after each jump,
# tries Escape in the Go To dialog (which must do nothing), saves with
# File > Save and exits; then checks where the typing landed in the file and
# that the hidden Go To dialog did not keep the program running.
#   edit_goto_type_save.sh ZUNOPAD   (run under with_xvfb.sh)
set -euo pipefail
zunopad=$1
work=$(mktemp -d)
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME=$work/config HOME=$work

fail() { echo "e2e edit: $*"; exit 1; }

# Waits (at most 10 s) until a visible window named exactly $1 is there.
wait_window() {
  timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1
}
# Waits (at most 10 s) until no visible window is named exactly $1.
wait_gone() {
  for _ in $(seq 1 100); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
focus_main() {
  xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
  sleep 0.2
}
# Edit > Go To, enter $1, and back to the main window.
go_to_line() {
  xdotool key --delay 150 alt+e g
  local dialog
  dialog=$(wait_window 'Go To Line') || true
  [ -n "$dialog" ] || fail "the Go To Line dialog did not appear"
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  sleep 0.2
  xdotool type --delay 30 "$1"
  xdotool key Return
  wait_gone 'Go To Line' || fail "the Go To Line dialog did not close on Enter"
  focus_main
}

printf 'AC:1001\r\nBG:5\r\nPL:1,2,3\r\nXX:ABC\r\nEG:7' >"$work/ROAD1.PRJ"
"$zunopad" "$work/ROAD1.PRJ" &
app_pid=$!

main=$(timeout 20 xdotool search --sync --onlyvisible --name '^ROAD1.PRJ - ZUNOPad File Editor$' | head -1) || true
[ -n "$main" ] || fail "the main window did not appear"
focus_main

# Letters typed at the end of the last line become capitals; "{" stays.
xdotool key --delay 50 ctrl+End
xdotool type --delay 30 'x{'

# Back to line 2 from line 5; the marker lands at the start of line 2.
go_to_line 2
xdotool type --delay 30 'm'

# Escape does nothing in the dialog: it is still there afterwards.
xdotool key --delay 150 alt+e g
dialog=$(wait_window 'Go To Line') || true
[ -n "$dialog" ] || fail "the Go To Line dialog did not appear the second time"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
sleep 0.2
xdotool key Escape
sleep 0.5
xdotool search --onlyvisible --name '^Go To Line$' >/dev/null 2>&1 || fail "Escape closed the Go To Line dialog"
# It opened empty after the last jump: typing 4 gives line 4, not 24.
xdotool type --delay 30 '4'
xdotool key Return
wait_gone 'Go To Line' || fail "the Go To Line dialog did not close on Enter"
focus_main
xdotool type --delay 30 'q'

xdotool key --delay 150 alt+f s          # File > Save
expected=$(printf 'AC:1001\r\nMBG:5\r\nPL:1,2,3\r\nQXX:ABC\r\nEG:7X{')
for _ in $(seq 1 100); do
  [ "$(cat "$work/ROAD1.PRJ")" = "$expected" ] && break
  sleep 0.1
done
if [ "$(cat "$work/ROAD1.PRJ")" != "$expected" ]; then
  echo "e2e edit: saved file differs:"; od -c "$work/ROAD1.PRJ" | head -20; exit 1
fi

# File > Exit ends the program although the Go To dialog still exists.
focus_main
xdotool key --delay 150 alt+f x
for _ in $(seq 1 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end after File > Exit"
app_pid=
echo "e2e edit: Go To, typing and save: ok"
