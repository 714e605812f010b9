#!/usr/bin/env bash
# The program links Qt Core alone, so that the command line starts without
# Qt's GUI libraries; the editor is a module of its own. A program without
# its module still converts, and asked for a window it says why none comes
# (exit status 2), without a crash.
#   editor_module.sh ZUNOPAD
set -euo pipefail
zunopad=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "editor_module: $*" >&2; exit 1; }

needed=$(readelf -d "$zunopad" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
grep -q '^libQt6Core\.so' <<<"$needed" || fail "the program does not link Qt Core: $needed"
if grep -E '^lib(Qt6(Gui|Widgets|PrintSupport|Svg|DBus)|qscintilla)' <<<"$needed"; then
  fail "the program links GUI libraries itself"
fi
[ -f "$(dirname "$zunopad")/zunopad-editor.so" ] || fail "no editor module beside the program"

cp "$zunopad" "$work/zunopad"
printf 'AC:1\r\nBG:2' >"$work/R.PRJ"
[ "$("$work/zunopad" --to-record "$work/R.PRJ" | od -c | head -1)" = "$(printf 'AC:1\r\nBG:2' | od -c | head -1)" ] ||
  fail "the program without its module does not convert"
status=0
QT_QPA_PLATFORM=offscreen "$work/zunopad" "$work/R.PRJ" >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 2 ] || fail "exit status $status without the module, not 2 ($(head -c 300 "$work/err"))"
grep -qx 'zunopad: cannot start the editor: zunopad-editor.so was not found' "$work/err" ||
  fail "no clear message: $(head -c 300 "$work/err")"
echo "editor_module: ok"
