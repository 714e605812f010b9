#!/usr/bin/env bash
# Drives the real zunopad as a user would: type a line, View > Record,
# File > Save, File > Exit; then checks the saved file (List layout) and the
# position written to the settings file.
#   e2e_view_save_exit.sh ZUNOPAD   (run under with_xvfb.sh)
zunopad=$1
name=editor
source "$(dirname "$0")/../e2e/common.sh"

# A value long enough that the Record lines are wider than the List lines
# and than the menus.
printf 'AC:1001\r\nBG:5\r\nPL:1,2,3\r\nXX:ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCDEFGHIJKLMNOPQRSTUVWX\r\nAC:OS\r\nEG:7' >"$work/ROAD1.PRJ"
start_zunopad "$zunopad" "$work/ROAD1.PRJ"

# Type at the end of the text: letters become capitals.
xdotool key --delay 50 ctrl+End Return
xdotool type --delay 30 'xx:end'
list_width=$(window_width "$main")
xdotool key --delay 150 alt+v r          # View > Record
wait_width_change "$main" "$list_width"  # fitted to the Record lines
xdotool key --delay 150 alt+f s          # File > Save
expect_file "$work/ROAD1.PRJ" "$(printf 'AC:1001\r\nBG:5\r\nPL:1,2,3\r\nXX:ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCDEFGHIJKLMNOPQRSTUVWX\r\nAC:OS\r\nEG:7\r\nXX:END')"
xdotool key --delay 150 alt+f x          # File > Exit

expect_exit "the program did not end after File > Exit"
expect_file "$work/ROAD1.PRJ" "$(printf 'AC:1001\r\nBG:5\r\nPL:1,2,3\r\nXX:ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCDEFGHIJKLMNOPQRSTUVWX\r\nAC:OS\r\nEG:7\r\nXX:END')"

settings=$work/config/ZUNOPad/ZUNOPad.conf
grep -q '^\[StartupPosition\]' "$settings" || fail "no StartupPosition in $settings"
grep -Eq '^Top=-?[0-9.]+' "$settings" && grep -Eq '^Left=-?[0-9.]+' "$settings" || { cat "$settings"; fail "no position"; }
echo "e2e view/save/exit: ok"
