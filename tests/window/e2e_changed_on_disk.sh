#!/usr/bin/env bash
# Drives the real zunopad: open a file, let another program rewrite it,
# type, File > Save. The question "File Changed on Disk" must come; No (its
# default, taken with Enter) must leave the other program's text in the
# file and the document unsaved, so that File > Exit still asks.
#   e2e_changed_on_disk.sh ZUNOPAD   (run under with_xvfb.sh)
zunopad=$1
name=changed
source "$(dirname "$0")/../e2e/common.sh"

printf 'AC:1001\r\nBG:5' >"$work/ROAD1.PRJ"
start_zunopad "$zunopad" "$work/ROAD1.PRJ"

# Another program writes the file while it is open.
theirs=$(printf 'AC:1001\r\nBG:5\r\nXX:THEIRS')
printf '%s' "$theirs" >"$work/ROAD1.PRJ"

xdotool key --delay 50 ctrl+End Return
xdotool type --delay 30 'xx:mine'
xdotool key --delay 150 alt+f s          # File > Save
question=$(window_named 'File Changed on Disk' 10)
focus "$question"
xdotool key Return                       # the default button: No
wait_gone 'File Changed on Disk' || fail "the question did not close on Enter"
expect_file "$work/ROAD1.PRJ" "$theirs"

# Still modified: Exit brings the save prompt; No there discards and ends.
focus "$main"
xdotool key --delay 150 alt+f x          # File > Exit
prompt=$(window_named 'Save Changes\?' 10)
focus "$prompt"
xdotool key alt+n
expect_exit "the program did not end after No in the save prompt"
expect_file "$work/ROAD1.PRJ" "$theirs"
echo "e2e changed on disk: ok"
