#!/usr/bin/env bash
# Saves a 50 MB file (CRLF lines, as ZUNO files are) and kills the saving process (SIGKILL) at a random
# moment of the write, ROUNDS times. After every kill the file must hold
# exactly the old or the new text, and the folder nothing but the file; or,
# for a kill between naming the finished new file and renaming it over the
# old one, the new text whole under the save's own name beside the old,
# which the next save takes away.
#   kill_during_save.sh TEXTFILE_DRIVER [ROUNDS]
set -euo pipefail
driver=$1
rounds=${2:-20}
work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "kill_during_save: $*"; exit 1; }

folder=$work/folder
mkdir "$folder" "$work/texts"
size=$((50 * 1024 * 1024))
yes $'AC:1001\r' | head -c "$size" >"$work/texts/old" || true
yes $'PL:1,2,3,45\r' | head -c "$size" >"$work/texts/new" || true
cp "$work/texts/old" "$folder/ROAD1.PRJ"

now_ms() { date +%s%3N; }
# Waits (at most 60 s) for the driver to have read its text.
wait_ready() {
  local deadline=$(( $(now_ms) + 60000 ))
  until [ -e "$work/ready" ]; do
    kill -0 "$pid" 2>/dev/null || fail "the driver ended before it began to write"
    [ "$(now_ms)" -lt "$deadline" ] || fail "the driver did not begin to write within 60 s"
    sleep 0.01
  done
}
holds() { cmp -s "$folder/ROAD1.PRJ" "$work/texts/$1"; }
only_the_file() { [ "$(ls -A "$folder")" = "ROAD1.PRJ" ]; }

# One whole save, timed from the start of the write to the end.
rm -f "$work/ready"
"$driver" copy "$folder/ROAD1.PRJ" "$work/texts/new" "$work/ready" >/dev/null &
pid=$!
wait_ready
start=$(now_ms)
wait "$pid" || fail "an uninterrupted save failed"
pid=
write_ms=$(( $(now_ms) - start + 1 ))
holds new && only_the_file || fail "an uninterrupted save left the wrong bytes or other files"

kept=0; replaced=0; finished=0; named=0
for round in $(seq 1 "$rounds"); do
  if holds old; then next=new; before=old; else next=old; before=new; fi
  rm -f "$work/ready"
  "$driver" copy "$folder/ROAD1.PRJ" "$work/texts/$next" "$work/ready" >/dev/null &
  pid=$!
  wait_ready
  # A random moment within the write (and a little after its usual end).
  delay_ms=$(( RANDOM * RANDOM % (write_ms * 12 / 10 + 1) ))
  sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
  kill -9 "$pid" 2>/dev/null || true
  killed=$pid
  status=0
  wait "$pid" 2>/dev/null || status=$?
  pid=
  [ "$status" -eq 0 ] && finished=$((finished + 1))
  if holds "$before"; then
    kept=$((kept + 1))
    [ "$status" -eq 0 ] && fail "round $round: the save ended well but the file holds the old text"
  elif holds "$next"; then
    replaced=$((replaced + 1))
  else
    fail "round $round (killed after $delay_ms ms): the file is neither the old nor the new text"
  fi
  if ! only_the_file; then
    # Killed between naming the finished file and renaming it over the old
    # one (no system call does both): the new text whole under the save's
    # own name, which the next save in the folder takes away.
    left=$(ls -A "$folder" | grep -v '^ROAD1.PRJ$' || true)
    [ "$(printf '%s\n' "$left" | wc -l)" -eq 1 ] && [[ "$left" == ".ROAD1.PRJ.zunopad-$killed-"?????? ]] \
      && holds "$before" && cmp -s "$folder/$left" "$work/texts/$next" \
      || fail "round $round (killed after $delay_ms ms): left behind: $(ls -A "$folder" | tr '\n' ' ')"
    named=$((named + 1))
    "$driver" copy "$folder/ROAD1.PRJ" "$work/texts/$next" "$work/ready" >/dev/null \
      || fail "round $round: the save after a kill failed"
    holds "$next" && only_the_file \
      || fail "round $round: the save after a kill left behind: $(ls -A "$folder" | tr '\n' ' ')"
  fi
done
echo "kill_during_save: $rounds rounds, a whole write takes ${write_ms} ms;" \
     "$finished saves finished before the kill; every time the file was whole" \
     "and alone (the text before the save $kept times, the saved text $replaced times;" \
     "the finished text under its own name beside it $named times, taken away by the next save)"
