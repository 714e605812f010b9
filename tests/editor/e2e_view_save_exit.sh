#!/usr/bin/env bash
# Drives the real zunopad as a user would: type a line, View > Record,
# File > Save, File > Exit; then checks the saved file (List layout) and the
# position written to the settings file.
#   e2e_view_save_exit.sh ZUNOPAD   (run under with_xvfb.sh)
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

printf 'AC:1001\r\nBG:5\r\nPL:1,2,3\r\nXX:ABC\r\nAC:OS\r\nEG:7' >"$work/ROAD1.PRJ"
"$zunopad" "$work/ROAD1.PRJ" &
app_pid=$!

wid=$(timeout 20 xdotool search --sync --onlyvisible --name 'ROAD1.PRJ - ZUNOPad File Editor' | head -1)
[ -n "$wid" ] || { echo "the window did not appear"; exit 1; }
xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
sleep 0.3

# Type at the end of the text: letters become capitals.
xdotool key --delay 50 ctrl+End Return
xdotool type --delay 30 'xx:end'
xdotool key --delay 150 alt+v r          # View > Record
sleep 0.5
xdotool key --delay 150 alt+f s          # File > Save
sleep 0.5
xdotool key --delay 150 alt+f x          # File > Exit

for _ in $(seq 1 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
  echo "the program did not end after File > Exit"; exit 1
fi
app_pid=

expected=$(printf 'AC:1001\r\nBG:5\r\nPL:1,2,3\r\nXX:ABC\r\nAC:OS\r\nEG:7\r\nXX:END')
actual=$(cat "$work/ROAD1.PRJ")
if [ "$actual" != "$expected" ]; then
  echo "saved file differs:"; od -c "$work/ROAD1.PRJ" | head -20; exit 1
fi

settings=$work/config/ZUNOPad/ZUNOPad.conf
grep -q '^\[StartupPosition\]' "$settings" || { echo "no StartupPosition in $settings"; cat "$settings"; exit 1; }
grep -Eq '^Top=-?[0-9.]+' "$settings" && grep -Eq '^Left=-?[0-9.]+' "$settings" || { cat "$settings"; exit 1; }
echo "e2e view/save/exit: ok"
