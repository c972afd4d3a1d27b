#!/usr/bin/env bash
# The veskar tool as a person uses it: help, a check with its summary and
# result file, a batch with a failure, and clear errors for bad usage.
set -u
veskar=${1:?usage: cli_smoke.sh VESKAR EXAMPLE_DOCX}
example=${2:?}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$veskar" --help > "$work/help" || fail "--help exits non-zero"
grep -q 'check' "$work/help" || fail "--help does not list check"
"$veskar" check > /dev/null 2>&1; [ $? -eq 2 ] || fail "check without FILE is not a usage error"
"$veskar" nosuchcommand > /dev/null 2>&1; [ $? -eq 2 ] || fail "an unknown command is not a usage error"

cp "$example" "$work/论文 一.docx"
"$veskar" check "$work/论文 一.docx" > "$work/out" 2>&1 || fail "check failed: $(cat "$work/out")"
grep -q '^score: ' "$work/out" || fail "check prints no score"
[ -f "$work/论文 一_Check.xml" ] || fail "check wrote no result file"
"$veskar" show "$work/论文 一_Check.xml" | grep -q '^score: ' || fail "show prints no score"
"$veskar" check "$work/论文 一.docx" --json | grep -q '"Statistics"' || fail "check --json prints no JSON"

"$veskar" check "$work/missing.docx" > "$work/err" 2>&1; [ $? -eq 1 ] || fail "a missing file does not fail"
grep -q 'Cannot open file' "$work/err" || fail "a missing file gives no clear error"

mkdir -p "$work/batch/sub"
cp "$example" "$work/batch/a.docx"; cp "$example" "$work/batch/sub/b.DOCX"; : > "$work/batch/empty.docx"
"$veskar" batch "$work/batch" --threads 2 > "$work/batch.out" 2>&1; status=$?
[ $status -eq 1 ] || fail "a batch with a failure exits $status"
grep -q '3 documents: 2 checked, 1 failed' "$work/batch.out" || fail "batch table: $(tail -3 "$work/batch.out")"
[ -f "$work/batch/sub/b_Check.xml" ] || fail "batch wrote no result in the sub-folder"
echo "cli smoke: all passed"
