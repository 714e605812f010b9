#!/usr/bin/env bash
# zunopad --check --format=sarif on a folder with errors and warnings gives a
# log that the SARIF 2.1.0 schema accepts, with a result on each problem's
# line and a rule for each kind of problem.
# Usage: sarif_schema.sh ZUNOPAD SCHEMA
# (tests/cli/sarif-2.1.0-rtm.5.json is the schema as @microsoft/jest-sarif
# ships it, less its "description" texts, which play no part in validating.)
set -euo pipefail
zunopad=$1
schema=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/project/sub dir"
printf 'AC:1\r\nNM:A  B:C\r\nBAD LINE' >"$work/project/one.PRJ"
printf 'AC:2\r\nBG:1\r\nPL:1,2' >"$work/project/sub dir/two.ctl"
printf 'X Y' >"$work/project/sub dir/three.SUP"

status=0
(cd "$work" && timeout 30 "$zunopad" --check --format=sarif project >"$work/log.sarif") || status=$?
[ "$status" -eq 1 ] || { echo "FAIL: exit status $status, not 1" >&2; exit 1; }

/usr/bin/python3 - "$schema" "$work/log.sarif" <<'PY'
import json, sys
import jsonschema
schema = json.load(open(sys.argv[1]))
log = json.load(open(sys.argv[2]))
jsonschema.Draft4Validator.check_schema(schema)
jsonschema.Draft4Validator(schema).validate(log)
run = log["runs"][0]
rules = [r["id"] for r in run["tool"]["driver"]["rules"]]
assert rules == ["invalid-item", "unexpected-data", "round-trip"], rules
found = [(r["locations"][0]["physicalLocation"]["artifactLocation"]["uri"],
          r["locations"][0]["physicalLocation"]["region"]["startLine"],
          r["level"], r["ruleId"], rules[r["ruleIndex"]]) for r in run["results"]]
expected = [("project/one.PRJ", 2, "warning", "round-trip", "round-trip"),
            ("project/one.PRJ", 3, "error", "invalid-item", "invalid-item"),
            ("project/sub%20dir/three.SUP", 1, "error", "invalid-item", "invalid-item")]
assert found == expected, found
print("the SARIF log validates, with", len(found), "results")
PY
