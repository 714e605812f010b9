#!/usr/bin/env bash
# Drives the real zunopad as a user would: opens a file, File > Print,
# View > Record, File > Print again, File > Exit; then checks the two PDF
# files the printer wrote: the pages, the text in order (the List text, then
# the Record text as `zunopad --to-record` gives it) and the margins.
#   e2e_print_file_print.sh ZUNOPAD
#   (run under with_cups.sh, then with_xvfb.sh)
zunopad=$1
name=print
source "$(dirname "$0")/../e2e/common.sh"

[ -n "${ZUNO_PDF_DIR:-}" ] || fail "run under tests/print/with_cups.sh"

# Waits (at most 60 s) for the queue to finish and for PDF file number $1
# to be there; prints its path.
wait_pdf() {
  local count=$1 files
  for _ in $(seq 1 600); do
    if [ -z "$(lpstat -W not-completed -o 2>/dev/null)" ]; then
      mapfile -t files < <(ls -1 "$ZUNO_PDF_DIR"/*.pdf 2>/dev/null | sort -V)
      if [ "${#files[@]}" -ge "$count" ]; then
        echo "${files[$((count - 1))]}"
        return 0
      fi
    fi
    sleep 0.1
  done
  return 1
}
words() { { tr -s ' \r\n\t\f' '\n\n\n\n\n'; echo; } | sed '/^$/d'; }
# Every word of the PDF $1 inside margins of 70 points (1400 twips), give
# or take a point.
check_margins() {
  pdftotext -bbox "$1" - | awk '
    /<page / { match($0, /width="[0-9.]+"/); w = substr($0, RSTART + 7, RLENGTH - 8) + 0
               match($0, /height="[0-9.]+"/); h = substr($0, RSTART + 8, RLENGTH - 9) + 0 }
    /<word / { split($0, a, "\""); x0 = a[2]; y0 = a[4]; x1 = a[6]; y1 = a[8]
               if (x0 < 69 || y0 < 69 || x1 > w - 69 || y1 > h - 69) { print "outside the margins: " $0; bad = 1 }
               if (min == "" || x0 < min) min = x0 }
    END { if (min < 69 || min > 71) { print "text does not start at the left margin: " min; bad = 1 }
          exit bad }'
}

# A List text of three pages.
for i in $(seq 1 40); do
  printf 'AC:%d\r\nBG:5\r\nPL:1,2,3\r\nXX:ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\r\n' "$((1000 + i))"
done >"$work/PRINTE2E.PRJ"
printf 'EG:7' >>"$work/PRINTE2E.PRJ"

start_zunopad "$zunopad" "$work/PRINTE2E.PRJ"

xdotool key --delay 150 alt+f p                 # File > Print
list_pdf=$(wait_pdf 1) || fail "File > Print wrote no PDF file"
pages=$(pdfinfo "$list_pdf" | awk '/^Pages:/ { print $2 }')
[ "$pages" -eq 3 ] || fail "List view: $pages pages instead of 3"
diff <(words <"$work/PRINTE2E.PRJ") <(pdftotext -raw "$list_pdf" - | words) >"$work/list.diff" \
  || { cat "$work/list.diff"; fail "List view: the printed text differs"; }
check_margins "$list_pdf" || fail "List view: margins"

xdotool windowfocus "$main" 2>/dev/null || true
list_width=$(window_width "$main")
xdotool key --delay 150 alt+v r                 # View > Record
wait_width_change "$main" "$list_width"         # fitted to the Record lines
xdotool key --delay 150 alt+f p                 # File > Print
record_pdf=$(wait_pdf 2) || fail "the second File > Print wrote no PDF file"
"$zunopad" --to-record "$work/PRINTE2E.PRJ" >"$work/record.txt"
grep -q 'BG:5  PL:1,2,3  XX:ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789' "$work/record.txt" || fail "unexpected Record layout"
diff <(words <"$work/record.txt") <(pdftotext -raw "$record_pdf" - | words) >"$work/record.diff" \
  || { cat "$work/record.diff"; fail "Record view: the printed text differs"; }
check_margins "$record_pdf" || fail "Record view: margins"
# Record lines join four items: fewer lines, fewer pages.
record_pages=$(pdfinfo "$record_pdf" | awk '/^Pages:/ { print $2 }')
[ "$record_pages" -lt "$pages" ] || fail "Record view: $record_pages pages"

xdotool key --delay 150 alt+f x                 # File > Exit
expect_exit "the program did not end after File > Exit (was the document changed?)"
echo "e2e print: ok ($pages pages in List view, $record_pages in Record view)"
