#!/usr/bin/env bash
# A hard-linked file is saved in place after a backup. A save killed while
# it writes must leave that backup; the next start with the file offers its
# text ("Recover Unsaved Changes", saying the save did not finish); Yes and
# File > Save put that text back in the file, and only then does the backup
# go.
#   e2e_unfinished_save.sh ZUNOPAD TEXTFILE_DRIVER   (run under with_xvfb.sh)
zunopad=$1
driver=$2
name=unfinished-save
source "$(dirname "$0")/../e2e/common.sh"
driver_pid=
trap '[ -n "$driver_pid" ] && kill -9 "$driver_pid" 2>/dev/null; cleanup' EXIT

size=$((20 * 1024 * 1024))
yes $'AC:1001\r' | head -c "$size" >"$work/old" || true
yes $'PL:1,2,3,45\r' | head -c "$size" >"$work/new" || true
mkdir "$work/folder"
cp "$work/old" "$work/folder/ROAD1.PRJ"
ln "$work/folder/ROAD1.PRJ" "$work/folder/LINK.PRJ"   # so the save is in place

backups() { ls -A "$work/folder" | grep -c '\.bak$' || true; }
# Saves the new text and kills the save the moment its backup is whole
# (named .bak), before the in-place write can finish; a save that ends first
# leaves nothing to find and the round is tried again.
killed_save() {
  "$driver" copy "$work/folder/ROAD1.PRJ" "$work/new" "$work/ready" >/dev/null &
  driver_pid=$!
  local left deadline=$((SECONDS + 60))
  while kill -0 "$driver_pid" 2>/dev/null; do
    [ "$SECONDS" -lt "$deadline" ] || fail "a save did not end within 60 s"
    left=("$work"/folder/.*.bak)
    if [ -e "${left[0]}" ]; then
      kill -9 "$driver_pid" 2>/dev/null || true
      break
    fi
  done
  wait "$driver_pid" 2>/dev/null || true
  driver_pid=
}

# One whole save.
"$driver" copy "$work/folder/ROAD1.PRJ" "$work/new" "$work/ready" >/dev/null || fail "an uninterrupted in-place save failed"
[ "$(backups)" -eq 0 ] || fail "a finished save left its backup"

for round in $(seq 1 30); do
  cp "$work/old" "$work/folder/ROAD1.PRJ"   # through the link: the same file
  killed_save
  [ "$(backups)" -gt 0 ] && break
done
[ "$(backups)" -gt 0 ] || fail "no killed save left a backup in 30 rounds"
cmp -s "$work/folder/.ROAD1.PRJ"*.bak "$work/old" || fail "the backup is not the old text"

# A save of another text in that folder leaves the backup alone.
"$driver" write "$work/folder/OTHER.PRJ" 'AC:2' >/dev/null
[ "$(backups)" -eq 1 ] || fail "a save in the folder removed the backup"

"$zunopad" "$work/folder/ROAD1.PRJ" &
app_pid=$!
question=$(window_named 'Recover Unsaved Changes' 20)
focus "$question"
xdotool key Return                         # Yes
main=$(window_named 'ROAD1\.PRJ.* - ZUNOPad File Editor')
focus "$main"
[ "$(backups)" -eq 1 ] || fail "the backup went before the text was saved"
xdotool key --delay 150 alt+f s            # File > Save
expect_bytes "$work/folder/LINK.PRJ" "$work/old"
for _ in $(seq 1 100); do [ "$(backups)" -eq 0 ] && break; sleep 0.1; done
[ "$(backups)" -eq 0 ] || fail "the backup stayed after its text was saved"
echo "e2e unfinished save: ok (a backup was left in round $round)"
