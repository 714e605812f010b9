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
export XDG_CONFIG_HOME=$work/config HOME=$work

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

# Waits (at most 10 s) until no visible window has the whole title $1.
wait_gone() {
  for _ in $(seq 1 100); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

focus() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.2
}

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
  for _ in $(seq 1 100); do
    kill -0 "$app_pid" 2>/dev/null || { app_pid=; return 0; }
    sleep 0.1
  done
  fail "$1"
}

# Waits (at most 10 s) until file $1 holds exactly the text $2; shows the
# bytes and fails otherwise.
expect_file() {
  for _ in $(seq 1 100); do
    [ "$(cat "$1")" = "$2" ] && return 0
    sleep 0.1
  done
  echo "e2e ${name:-}: $1 differs:"; od -c "$1" | head -20; exit 1
}
