#!/usr/bin/env bash
# Drives the real zunopad by its keys alone: typing marks the caption with
# an asterisk, Ctrl+S saves and takes the asterisk away, Ctrl+Q ends it.
#   e2e_keys_marker_save.sh ZUNOPAD   (run under with_xvfb.sh)
zunopad=$1
name=keys
source "$(dirname "$0")/../e2e/common.sh"

printf 'AC:1001\r\nEG:7' >"$work/ROAD1.PRJ"
start_zunopad "$zunopad" "$work/ROAD1.PRJ"

xdotool key --delay 50 ctrl+End
xdotool type --delay 30 'x'
window_named 'ROAD1\.PRJ\* - ZUNOPad File Editor' >/dev/null
xdotool key --delay 100 ctrl+s
expect_file "$work/ROAD1.PRJ" "$(printf 'AC:1001\r\nEG:7X')"
window_named 'ROAD1\.PRJ - ZUNOPad File Editor' >/dev/null
xdotool key --delay 100 ctrl+q
expect_exit "the program did not end after Ctrl+Q"
echo "e2e keys/marker/save: ok"
