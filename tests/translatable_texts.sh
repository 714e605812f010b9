#!/usr/bin/env bash
# Every user-visible text can be translated with Qt's own tools: lupdate
# extracts the texts of the sources without a warning (a tr() it cannot
# place would get a context that the program does not use at run time),
# under the contexts the program translates them in, and a text of each
# part of the program is among them; and the translators' template in the
# tree holds every text the sources have.
# Usage: translatable_texts.sh LUPDATE SOURCE_DIR [TEMPLATE]
set -euo pipefail
lupdate=$1
src=$2
template=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

"$lupdate" -extensions cpp,h "$src" -ts "$work/zunopad.ts" >"$work/out" 2>&1 || {
  cat "$work/out" >&2
  fail "lupdate failed"
}
# Anything but its progress lines is a warning.
if grep -v -E "^(Scanning directory|Updating|    Found [0-9]+ source text)" "$work/out" >"$work/warnings"; then
  cat "$work/warnings" >&2
  fail "lupdate warned about the sources"
fi

# The text under its context, as lupdate writes them (XML-escaped).
expect() {
  local context=$1 text=$2
  python3 - "$work/zunopad.ts" "$context" "$text" <<'PY' || fail "'$text' is not translatable under the context '$context'"
import sys, xml.etree.ElementTree as ET
ts, context, text = sys.argv[1:]
for c in ET.parse(ts).getroot().iter('context'):
    if c.findtext('name') == context and any(m.findtext('source') == text for m in c.iter('message')):
        sys.exit(0)
sys.exit(1)
PY
}

expect ConversionMessages "Invalid ZUNO Data Item '%1' on line %2"
expect ConversionMessages "Unexpected data '%1'."
expect ConversionMessages "Invalid File"
expect ViewConversion "Switch to the Record view anyway?"
expect EditorShell "Save Changes?"
expect EditorShell "ZUNOPad File Editor"
expect zuno::frmEditor "&File"
expect zuno::frmEditor "&Record"
expect zuno::frmFindReplace "Find What:"
expect zuno::frmGoToLine "Line Number:"
expect modGoTo "You must enter a numeric value"
expect QtPrinter "No print job is open."
expect Converter "cannot read '%1': %2"
expect TextFile "Is a directory"
expect AccessibleEditor "Editor"

if [ -n "$template" ]; then
  python3 - "$work/zunopad.ts" "$template" <<'PY' || fail "the template $template lacks texts of the sources (build, then commit it)"
import sys, xml.etree.ElementTree as ET
def texts(ts):
    return {(c.findtext('name'), m.findtext('source')) for c in ET.parse(ts).getroot().iter('context')
            for m in c.iter('message')}
missing = texts(sys.argv[1]) - texts(sys.argv[2])
for context, source in sorted(missing):
    print("missing:", context, source, file=sys.stderr)
sys.exit(1 if missing else 0)
PY
fi
echo "every text checked is translatable"
