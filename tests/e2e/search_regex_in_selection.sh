#!/usr/bin/env bash
# Drives the real zunopad as a user would: selects the first record's two
# lines, Edit > Replace (Ctrl+H), which starts with "In selection" set,
# renumbers the record's PL run with a regular expression (Alt+X) and one
# Replace All, saves, and finds the search kept in the settings for the
# next run.
#   search_regex_in_selection.sh ZUNOPAD   (run under with_xvfb.sh)
zunopad=$1
name=search-regex
source "$(dirname "$0")/common.sh"

printf 'PL:1001,1002\r\nPL:1003\r\nEG:7\r\nPL:1004' >"$work/ROAD2.PRJ"
start_zunopad "$zunopad" "$work/ROAD2.PRJ"

xdotool key --delay 100 ctrl+Home shift+Down shift+Down   # the first two lines
xdotool key --delay 150 ctrl+h                # Edit > Replace
dialog=$(window_named 'Replace')
focus "$dialog"
xdotool type --delay 30 'PL:1(\d+)'           # the focus is in "Find What:"
xdotool key --delay 50 Tab
xdotool type --delay 30 'PL:2\1'              # "Replace With:"
xdotool key --delay 150 alt+x                 # Regular expression
xdotool key --delay 150 alt+a                 # Replace All

report=$(window_named 'ZUNOPad')
focus "$report"
xdotool key Return
wait_gone 'ZUNOPad' || fail "the report did not close"

focus "$main"
xdotool key --delay 150 ctrl+s                # File > Save
# Only the selected record is renumbered, and only its PL:1... values.
expect_file "$work/ROAD2.PRJ" "$(printf 'PL:2001,1002\r\nPL:2003\r\nEG:7\r\nPL:1004')"

focus "$main"
xdotool key --delay 150 ctrl+q                # File > Exit
expect_exit "the program did not end after File > Exit"
grep -qF 'PL:1(' "$work/config/ZUNOPad/ZUNOPad.conf" || fail "the search was not kept for the next run"
echo "e2e search regex in selection: ok"
