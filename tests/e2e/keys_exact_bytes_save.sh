#!/usr/bin/env bash
# Drives the real zunopad on a file with a lone CR, a lone LF and a NUL in
# its lines: Alt with a letter that no menu takes types nothing, a menu
# closed with Escape hands the keys back to the text, and File > Save
# writes every byte back with only the typed characters added.
#   keys_exact_bytes_save.sh ZUNOPAD   (run under with_xvfb.sh)
zunopad=$1
name=keys
source "$(dirname "$0")/common.sh"

printf 'AC:1\r\nNM:A\rB\r\nXX:C\nD\000E\r\nEG:7' >"$work/ODD.PRJ"
start_zunopad "$zunopad" "$work/ODD.PRJ"

xdotool key --delay 50 ctrl+End
xdotool key --delay 100 alt+n alt+q    # no menu: nothing may be typed
xdotool type --delay 30 'z'
xdotool key --delay 200 alt+e          # the Edit menu opens...
xdotool key --delay 200 Escape         # ...and closes again
xdotool type --delay 30 'y'            # back in the text
xdotool key --delay 150 alt+f s        # File > Save

printf 'AC:1\r\nNM:A\rB\r\nXX:C\nD\000E\r\nEG:7ZY' >"$work/expected"
expect_bytes "$work/ODD.PRJ" "$work/expected"

focus "$main"
xdotool key --delay 150 alt+f x
expect_exit "the program did not end after File > Exit"
echo "e2e keys: exact bytes, Alt keys and the focus after a menu: ok"
