#!/usr/bin/env bash
# The shape of the source tree, measured: includes run only down the layers,
# Scintilla is spoken only in the Qt implementations, the window stays a
# thin form, the command line stands apart from the editor, and no file
# grows too long to read. Usage: structure.sh SRC_DIR
set -uo pipefail
src=${1:?usage: structure.sh SRC_DIR}
cd "$src" || exit 2
failed=0
fail() {
  echo "$1"
  failed=1
}

# Each folder's layer; a file may include its own layer and those below.
# print, search and edit stand side by side and include none of each other;
# so do the window and the command line. Recovery keeps its data in files.
declare -A layer=(
  [text]=0 [format]=1 [textfile]=2 [recovery]=3 [platform]=4
  [print]=5 [search]=5 [edit]=5 [document]=6 [items]=7 [window]=8 [cli]=8 [app]=9
)
while IFS= read -r hit; do
  file=${hit%%:*}
  target=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"${hit#*:}")
  from=${file%%/*}
  to=${target%%/*}
  [[ -n ${layer[$from]:-} && -n ${layer[$to]:-} ]] || continue
  if ((layer[$to] > layer[$from])) || { [[ $from != "$to" ]] && ((layer[$to] == layer[$from])); }; then
    fail "layers: $file includes $target ($to is not below $from)"
  fi
done < <(grep -rHE '^\s*#\s*include\s+"[a-z]+/' --include='*.h' --include='*.cpp' .  | sed 's|^\./||')

# The command line depends on the conversions and the files alone.
while IFS= read -r hit; do
  fail "command line: $hit"
done < <(grep -rnE '#\s*include\s+"(window|document|items|app)/' cli)

# Scintilla's API, its messages and notices stay in the Qt implementations.
while IFS= read -r hit; do
  fail "Scintilla outside platform/qt: $hit"
done < <(grep -rnE 'SendScintilla|\bSCN_[A-Z]+|\bSCI_[A-Z]+|\bINDIC_[A-Z]+|QsciScintilla|Qsci/' . \
           --include='*.h' --include='*.cpp' | sed 's|^\./||' | grep -v '^platform/qt/')

# The window holds the form and its menu handlers, not the logic.
window_lines=$(cat window/*.h window/*.cpp | wc -l)
((window_lines <= 1500)) || fail "window/ has $window_lines lines (at most 1500)"

# No file too long to read whole.
while read -r lines file; do
  [[ $file == total ]] && continue
  ((lines <= 450)) || fail "$file has $lines lines (at most 450)"
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | xargs wc -l)

if ((failed)); then
  echo "The structure check failed."
  exit 1
fi
echo "The structure holds: layers, Scintilla, window ($window_lines lines), command line, file lengths."
