#!/usr/bin/env bash
# A client nobody here wrote: Debian's Neovim, headless, with its built-in
# LSP client, opens a ZUNO file served by `zunopad --lsp` and receives its
# diagnostics and document symbols. Every wait has a deadline.
# Usage: neovim_lsp.sh ZUNOPAD
set -euo pipefail
zunopad=$1
here=$(cd "$(dirname "$0")" && pwd)
command -v nvim >/dev/null || { echo "FAIL: nvim not installed (scripts/deps installs Debian's neovim)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state \
       XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

printf 'AC:1001\r\nNM:CENTRE LINE\r\nBG:CL\r\nPL:1,2,3\r\nBAD LINE\r\nEG:CL\r\nAC:OS\r\nBG:K1\r\n' >"$work/MAIN.PRJ"

cd "$work"
status=0
ZUNOPAD="$zunopad" RESULT="$work/result.json" timeout 40 \
  nvim --headless --clean -u NONE -c "edit MAIN.PRJ" -c "luafile $here/probe.lua" >"$work/nvim.log" 2>&1 || status=$?
if [ "$status" -ne 0 ] || [ ! -s "$work/result.json" ]; then
  echo "FAIL: nvim ended with status $status without a result" >&2
  cat "$work/nvim.log" >&2
  exit 1
fi

/usr/bin/python3 - "$work/result.json" <<'PY'
import json, sys
result = json.load(open(sys.argv[1]))
diagnostics = sorted((d["lnum"], d["severity"], d["message"]) for d in result["diagnostics"])
assert diagnostics == [(4, 1, "Invalid ZUNO Data Item 'BAD LINE' on line 5")], diagnostics
symbols = result["symbols"]
assert [s["name"] for s in symbols] == ["AC:1001", "AC:OS"], symbols
assert symbols[0]["detail"] == "CENTRE LINE", symbols[0]
assert [c["name"] for c in symbols[0]["children"]] == ["BG:CL", "EG:CL"], symbols[0]
assert result["hover"] == "PL: value list of BG:CL in AC:1001 CENTRE LINE, 3 values", result["hover"]
print("Neovim received", len(diagnostics), "diagnostic and", len(symbols), "records")
PY
