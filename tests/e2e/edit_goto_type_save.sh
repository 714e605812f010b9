#!/usr/bin/env bash
# Drives the real zunopad as a user would: types at the end of the text,
# uses Edit > Go To to jump back and forth, types a marker after each jump,
# tries Escape in the Go To dialog (which must do nothing) and a non-number,
# saves with File > Save and exits; then checks where the typing landed in
# the file and that the hidden Go To dialog did not keep the program running.
# There is no window manager: the keyboard must come back to the main window
# (and to the dialog after its warning) without help.
#   edit_goto_type_save.sh ZUNOPAD   (run under with_xvfb.sh)
zunopad=$1
name=edit
source "$(dirname "$0")/common.sh"

focus_main() { focus "$main"; }
# Edit > Go To, enter $1, and back to the main window.
go_to_line() {
  xdotool key --delay 150 alt+e g
  focus "$(window_named 'Go To Line' 10)"
  xdotool type --delay 30 "$1"
  xdotool key Return
  wait_gone 'Go To Line' || fail "the Go To Line dialog did not close on Enter"
  expect_focus "$main" "the keyboard did not come back to the main window after Go To"
}

printf 'AC:1001\r\nBG:5\r\nPL:1,2,3\r\nXX:ABC\r\nEG:7' >"$work/ROAD1.PRJ"
"$zunopad" "$work/ROAD1.PRJ" &
app_pid=$!
main=$(window_named "ROAD1.PRJ - ZUNOPad File Editor")
expect_focus "$main" "the main window did not take the keyboard at start"

# Letters typed at the end of the last line become capitals; "{" stays.
xdotool key --delay 50 ctrl+End
xdotool type --delay 30 'x{'

# Back to line 2 from line 5; the marker lands at the start of line 2.
go_to_line 2
xdotool type --delay 30 'm'

# Escape does nothing in the dialog: the "4" typed after it still goes into
# the dialog, and Return then jumps to line 4 (the saved file shows the "q"
# typed there). Had Escape closed it, both keys would have edited the text.
xdotool key --delay 150 alt+e g
focus "$(window_named 'Go To Line' 10)"
xdotool key Escape
# It opened empty after the last jump: typing 4 gives line 4, not 24.
xdotool type --delay 30 '4'
xdotool key Return
wait_gone 'Go To Line' || fail "the Go To Line dialog did not close on Enter"
expect_focus "$main" "the keyboard did not come back to the main window after Go To"
xdotool type --delay 30 'q'

# A non-number: the warning, answered with Enter, gives the keyboard back to
# the dialog, still showing the entry; 3 typed over it goes to line 3.
xdotool key --delay 150 ctrl+g
focus "$(window_named 'Go To Line' 10)"
xdotool type --delay 30 'x'
xdotool key Return
warning=$(window_named 'Invalid Line Number' 10)
expect_focus "$warning" "the warning did not get the keyboard"
xdotool key Return
wait_gone 'Invalid Line Number' || fail "the warning did not close on Enter"
expect_focus "$(window_named 'Go To Line' 10)" "the keyboard did not come back to Go To after the warning"
xdotool key ctrl+a
xdotool type --delay 30 '3'
xdotool key Return
wait_gone 'Go To Line' || fail "the Go To Line dialog did not close on Enter"
expect_focus "$main" "the keyboard did not come back to the main window after the warning"
xdotool type --delay 30 'w'

xdotool key --delay 150 alt+f s          # File > Save
expect_file "$work/ROAD1.PRJ" "$(printf 'AC:1001\r\nMBG:5\r\nWPL:1,2,3\r\nQXX:ABC\r\nEG:7X{')"

# File > Exit ends the program although the Go To dialog still exists.
focus_main
xdotool key --delay 150 alt+f x
expect_exit "the program did not end after File > Exit"
echo "e2e edit: Go To, typing and save: ok"
