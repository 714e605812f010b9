# Shared by the end-to-end scripts, which source it after setting `name`
# (used in failure messages). Gives each script a private work folder and
# settings, starts the real program, finds its windows and checks that it
# ends, and stops whatever is left when the script exits.
set -euo pipefail
work=$(mktemp -d)
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state HOME=$work
# The lock files of the files a killed window held go with the folder.
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"

# To standard error: a failure inside $(...) must not vanish into a variable.
fail() { echo "e2e ${name:-}: $*" >&2; exit 1; }

# Waits (at most $2 s, default 20) for a visible window whose whole title is
# $1 and prints its id; fails when none comes.
window_named() {
  local wid
  wid=$(timeout "${2:-20}" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
  [ -n "$wid" ] || fail "no window titled '$1'"
  echo "$wid"
}

# Runs COMMAND... every tenth of a second until it succeeds, for at most
# SECONDS: fails when the deadline passes first.
poll() {
  local tenths=$(($1 * 10))
  shift
  for _ in $(seq 1 "$tenths"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# Whether no visible window has the whole title $1.
no_window_named() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
# Whether window $1 has the keyboard focus.
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

# Waits (at most 10 s) until no visible window has the whole title $1.
wait_gone() { poll 10 no_window_named "$1"; }

# Gives window $1 the keyboard focus and waits (at most 5 s) until it has it.
focus() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1" 2>/dev/null || true
  poll 5 focused_again "$1" || fail "window $1 did not get the focus"
}
# Whether window $1 has the focus; if not, it is given it again.
focused_again() { has_focus "$1" || { xdotool windowfocus "$1" 2>/dev/null; false; }; }

# Waits (at most 5 s) until window $1 has the keyboard focus without being
# given it (there is no window manager to do so); fails with $2 otherwise.
expect_focus() { poll 5 has_focus "$1" || fail "$2"; }

# Width of window $1 in pixels.
window_width() {
  xdotool getwindowgeometry --shell "$1" | sed -n 's/^WIDTH=//p'
}

# Waits (at most 10 s) until window $1 is no longer $2 pixels wide: the sign
# that a view switch has been carried out (the window is fitted to the text).
wait_width_change() { poll 10 width_is_not "$1" "$2" || fail "window $1 stayed $2 pixels wide"; }
width_is_not() { [ "$(window_width "$1")" != "$2" ]; }

# Starts PROGRAM FILE in the background and waits for its main window, whose
# id goes to `main`.
start_zunopad() {
  "$1" "$2" &
  app_pid=$!
  main=$(window_named "$(basename "$2") - ZUNOPad File Editor")
  focus "$main"
}

# Waits (at most 10 s) for the program to end; fails with $1 when it does not.
expect_exit() {
  poll 10 ended "$app_pid" || fail "$1"
  app_pid=
}
ended() { ! kill -0 "$1" 2>/dev/null; }

# Waits (at most 10 s) until file $1 holds exactly the text $2; shows the
# bytes and fails otherwise.
expect_file() {
  poll 10 holds_text "$1" "$2" && return 0
  echo "e2e ${name:-}: $1 differs:"; od -c "$1" | head -20; exit 1
}
holds_text() { [ "$(cat "$1")" = "$2" ]; }

# Waits (at most 10 s) until file $1 holds exactly the bytes of file $2
# (NUL bytes included); shows the bytes and fails otherwise.
expect_bytes() { poll 10 cmp -s "$1" "$2" || { od -c "$1" >&2; fail "$1 does not hold the expected bytes"; }; }
