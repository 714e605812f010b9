#!/usr/bin/env bash
# Drives the real zunopad as a user would: Edit > Replace (Alt+E, R), types
# the find and replacement texts, sets "Match whole word only", Replace All,
# closes the report, File > Save (Alt+F, S); checks the saved file; then
# File > Exit with the Replace dialog still open must end the program.
#   search_replace_all_save.sh ZUNOPAD   (run under with_xvfb.sh)
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

fail() { echo "e2e search: $*"; exit 1; }

# Waits (at most 20 s) for a visible window whose whole title is $1.
window_named() {
  local wid
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
  [ -n "$wid" ] || fail "no window titled '$1'"
  echo "$wid"
}

focus() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.2
}

printf 'AC:1001\r\nXX:CAT\r\nPL:CAT,CONCAT,1\r\nEG:7' >"$work/ROAD1.PRJ"
"$zunopad" "$work/ROAD1.PRJ" &
app_pid=$!

main=$(window_named 'ROAD1.PRJ - ZUNOPad File Editor')
focus "$main"

xdotool key --delay 150 alt+e r              # Edit > Replace
dialog=$(window_named 'Replace')
focus "$dialog"
xdotool type --delay 30 'cat'                 # the focus is in "Find What:"
xdotool key --delay 50 Tab
xdotool type --delay 30 'dog'                 # "Replace With:"
# Tab order: Find Next, Cancel, Replace, Replace All, Match whole word only.
xdotool key --delay 50 Tab Tab Tab Tab Tab space
xdotool key --delay 150 alt+a                 # Replace All

report=$(window_named 'ZUNOPad')
focus "$report"
xdotool key Return
for _ in $(seq 1 50); do
  xdotool search --onlyvisible --name '^ZUNOPad$' >/dev/null 2>&1 || break
  sleep 0.1
done

focus "$main"
xdotool key --delay 150 alt+f s               # File > Save

expected=$(printf 'AC:1001\r\nXX:dog\r\nPL:dog,CONCAT,1\r\nEG:7')
for _ in $(seq 1 50); do
  [ "$(cat "$work/ROAD1.PRJ")" = "$expected" ] && break
  sleep 0.1
done
if [ "$(cat "$work/ROAD1.PRJ")" != "$expected" ]; then
  echo "saved file differs:"; od -c "$work/ROAD1.PRJ" | head -20; exit 1
fi

# The Replace dialog is still open; it must not keep the program running.
xdotool search --onlyvisible --name '^Replace$' >/dev/null 2>&1 || fail "the dialog closed too early"
focus "$main"
xdotool key --delay 150 alt+f x               # File > Exit
for _ in $(seq 1 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end after File > Exit"
app_pid=
echo "e2e search replace all/save: ok"
