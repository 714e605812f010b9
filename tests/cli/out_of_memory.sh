#!/usr/bin/env bash
# The converter given a file larger than the memory it may use: a clear
# message on standard error, nothing on standard output, exit status 2
# (not an abort).
#   out_of_memory.sh ZUNOPAD
set -euo pipefail
zunopad=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "out_of_memory: $*" >&2; exit 1; }

yes $'AC:1001\r' | head -c $((100 * 1024 * 1024)) >"$work/BIG.PRJ" || true
status=0
prlimit --as=$((120 * 1024 * 1024)) "$zunopad" --to-record "$work/BIG.PRJ" >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 2 ] || fail "exit status $status, not 2 ($(head -c 300 "$work/err"))"
grep -q 'Not enough memory to convert the file' "$work/err" || fail "no clear message: $(head -c 300 "$work/err")"
[ ! -s "$work/out" ] || fail "something was written to standard output"
echo "out_of_memory: ok"
