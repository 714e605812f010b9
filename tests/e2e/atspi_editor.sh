#!/usr/bin/env bash
# A screen reader's view of the real zunopad, over AT-SPI: the editor says
# what it is and which document it holds, and typing and moving the caret
# reach the listener as text and caret events.
#   atspi_editor.sh ZUNOPAD   (run under with_xvfb.sh and with_a11y_bus.sh)
zunopad=$1
name=atspi
source "$(dirname "$0")/common.sh"

printf 'PN:1\r\nNA:EAST ROAD' >"$work/EAST.PRJ"
start_zunopad "$zunopad" "$work/EAST.PRJ"
xdotool key --delay 50 ctrl+End

# Debian's own Python, which has the python3-pyatspi package.
timeout 60 /usr/bin/python3 "$(dirname "$0")/atspi_probe.py" || fail "the AT-SPI probe failed"

# Leave without saving: the probe typed into the document.
kill "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true
app_pid=
echo "e2e $name: passed"
