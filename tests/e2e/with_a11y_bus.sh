#!/usr/bin/env bash
# Runs a command on a private session bus with the accessibility bus
# started on it (as a desktop session starts it) and Qt's accessibility
# switched on as a screen reader would have it. The buses and the registry
# end with the command.
#   with_a11y_bus.sh COMMAND [ARGS...]   (run under with_xvfb.sh)
set -u
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
if [ -z "${ZUNO_A11Y_BUS:-}" ]; then
  export ZUNO_A11Y_BUS=1
  exec timeout 200 dbus-run-session -- "$0" "$@" 2> >(grep -v "Failed to set fd limit" >&2)
fi
timeout 10 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
  >/dev/null || { echo "the accessibility bus did not start" >&2; exit 1; }
exec "$@"
