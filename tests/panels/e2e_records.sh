#!/usr/bin/env bash
# Drives the real zunopad by its keys: Go To Record by part of a name, the
# next record, View > Records shown and remembered, a fold of every record;
# then a letter typed where the caret went, saved.
#   e2e_records.sh ZUNOPAD   (run under with_xvfb.sh)
zunopad=$1
name=records
source "$(dirname "$0")/../e2e/common.sh"

printf 'PN:ROAD1\r\nAC:1001\r\nNM:CENTRE LINE\r\nBG:CL\r\nPL:1,2\r\nEG:CL\r\nAC:1003\r\nNM:RIGHT EDGE\r\nAC:OS\r\nCP:1' >"$work/ROAD1.PRJ"
start_zunopad "$zunopad" "$work/ROAD1.PRJ"

xdotool key --delay 100 ctrl+shift+g
dialog=$(window_named 'Go To Record')
focus "$dialog"
xdotool type --delay 30 'right'
xdotool key --delay 100 Return
wait_gone 'Go To Record' || fail "Go To Record stayed open"
focus "$main"
xdotool key --delay 100 alt+Down         # View > Next Record: AC:OS
xdotool key --delay 150 alt+v d          # View > Records
xdotool key --delay 150 alt+v f          # View > Fold All
focus "$main"
xdotool key --delay 100 End
xdotool type --delay 30 'x'
xdotool key --delay 150 ctrl+s
expect_file "$work/ROAD1.PRJ" "$(printf 'PN:ROAD1\r\nAC:1001\r\nNM:CENTRE LINE\r\nBG:CL\r\nPL:1,2\r\nEG:CL\r\nAC:1003\r\nNM:RIGHT EDGE\r\nAC:OSX\r\nCP:1')"
xdotool key --delay 100 ctrl+q
expect_exit "the program did not end after Ctrl+Q"
grep -q '^RecordsPanel=1' "$work/config/ZUNOPad/ZUNOPad.conf" || fail "View > Records not remembered"
echo "e2e records: ok"
