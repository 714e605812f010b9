#!/usr/bin/env bash
# Drives the real zunopad as a user would: Edit > Replace (Alt+E, R), types
# the find and replacement texts, sets "Match whole word only", Replace All,
# closes the report, File > Save (Alt+F, S); checks the saved file; then
# File > Exit with the Replace dialog still open must end the program.
#   search_replace_all_save.sh ZUNOPAD   (run under with_xvfb.sh)
zunopad=$1
name=search
source "$(dirname "$0")/common.sh"

printf 'AC:1001\r\nXX:CAT\r\nPL:CAT,CONCAT,1\r\nEG:7' >"$work/ROAD1.PRJ"
start_zunopad "$zunopad" "$work/ROAD1.PRJ"

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
wait_gone 'ZUNOPad' || fail "the report did not close"

focus "$main"
xdotool key --delay 150 alt+f s               # File > Save

expect_file "$work/ROAD1.PRJ" "$(printf 'AC:1001\r\nXX:dog\r\nPL:dog,CONCAT,1\r\nEG:7')"

# The Replace dialog is still open; it must not keep the program running.
xdotool search --onlyvisible --name '^Replace$' >/dev/null 2>&1 || fail "the dialog closed too early"
focus "$main"
xdotool key --delay 150 alt+f x               # File > Exit
expect_exit "the program did not end after File > Exit"
echo "e2e search replace all/save: ok"
