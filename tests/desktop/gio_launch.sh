#!/usr/bin/env bash
# Opens a file the way a file manager does: installs the build into a scratch
# prefix and launches its desktop entry with gio on a file whose folder name
# holds blanks. The installed program must come up on that file (the caption
# names it, the whole path arrived as one argument) and end on File > Exit.
#   gio_launch.sh BUILD_DIR   (run under with_xvfb.sh)
build=$1
name=gio-launch
source "$(dirname "$0")/../e2e/common.sh"

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
export PATH=$prefix/bin:$PATH XDG_DATA_DIRS=$prefix/share:/usr/share XDG_DATA_HOME=$work/data
export GIO_USE_VFS=local

folder="$work/road works 2"
mkdir -p "$folder"
file="$folder/ROAD1.PRJ"
printf 'AC:1001\r\nBG:5\r\nPL:1,2,3' >"$file"

gio launch "$prefix/share/applications/zunopad.desktop" "$file" || fail "gio launch failed"
main=$(window_named "ROAD1.PRJ - ZUNOPad File Editor")
app_pid=$(xdotool getwindowpid "$main") || fail "the window has no process id"
[ "$(readlink "/proc/$app_pid/exe")" = "$prefix/bin/zunopad" ] ||
  fail "the window belongs to $(readlink "/proc/$app_pid/exe"), not the installed program"
mapfile -d '' argv <"/proc/$app_pid/cmdline"
[ "${#argv[@]}" -eq 2 ] && [ "${argv[1]}" = "$file" ] ||
  fail "started with $(printf '[%s] ' "${argv[@]}")"

focus "$main"
xdotool key --delay 150 alt+f x          # File > Exit
expect_exit "the program did not end after File > Exit"
echo "e2e gio launch: ok"
