#!/usr/bin/env bash
# The veskar tool as a person uses it: help, a check with its summary and
# result file, a batch with a failure, clear errors and exit codes for bad
# usage, --out and --log-dir, the text of a document, and a .doc beside a
# .docx of the same name.
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
revised=$("$veskar" revise "$work/论文 一_Check.xml") || fail "revise failed"
case "$revised" in "$work/论文 一_Revised_"*.docx) ;; *) fail "revise printed: $revised" ;; esac
[ -s "$revised" ] || fail "revise wrote no document"
tracked=$("$veskar" revise "$work/论文 一_Check.xml" --track) || fail "revise --track failed"
[ -s "$tracked" ] && [ "$tracked" != "$revised" ] || fail "revise --track wrote no new document"
rm -f "$work/论文 一_"[0-9]*.htm
page=$("$veskar" html "$work/论文 一_Check.xml") || fail "html failed"
[ "$page" = "$work/论文 一_0.htm" ] && [ -s "$page" ] || fail "html printed: $page"
grep -q 'class=msoIns' "$page" "$work/论文 一_"[0-9]*.htm || fail "the pages mark no finding"
[ -f "$work/css/commen.css" ] && [ -f "$work/js/left_nav3.js" ] || fail "the pages' assets are missing"
"$veskar" check "$work/论文 一.docx" --html > "$work/html.out" || fail "check --html failed"
grep -q "^pages:   $work/论文 一_0.htm" "$work/html.out" && grep -q "^revised: .*_Revised_.*\.docx" "$work/html.out" \
  || fail "check --html printed: $(cat "$work/html.out")"
"$veskar" check "$work/论文 一.docx" --json | grep -q '"Statistics"' || fail "check --json prints no JSON"
"$veskar" check "$work/论文 一.docx" --timing | grep -q "^  audit  *[0-9]" || fail "check --timing prints no audit time"

"$veskar" check "$work/missing.docx" > "$work/err" 2>&1; [ $? -eq 1 ] || fail "a missing file does not fail"
grep -q 'Cannot open file' "$work/err" || fail "a missing file gives no clear error"

mkdir -p "$work/batch/sub"
cp "$example" "$work/batch/a.docx"; cp "$example" "$work/batch/sub/b.DOCX"; : > "$work/batch/empty.docx"
"$veskar" batch "$work/batch" --threads 2 > "$work/batch.out" 2>&1; status=$?
[ $status -eq 1 ] || fail "a batch with a failure exits $status"
grep -q '3 documents: 2 checked, 1 failed' "$work/batch.out" || fail "batch table: $(tail -3 "$work/batch.out")"
[ -f "$work/batch/sub/b_Check.xml" ] || fail "batch wrote no result in the sub-folder"

# Exit codes: 2 for bad usage, 1 for a failure.
expect() { want=$1; shift; "$veskar" "$@" > "$work/ec.out" 2>&1; got=$?
  [ $got -eq $want ] || fail "veskar $* exits $got, not $want: $(head -3 "$work/ec.out")"; }
expect 2 check "$work/batch/a.docx" --type 20
expect 2 check "$work/batch/a.docx" --type -1
expect 2 parse "$work/batch/a.docx" --type 99
expect 2 batch "$work/batch" --threads -1
expect 2 batch "$work/batch" --threads 0
expect 2 recheck "$work/论文 一_Check.xml" --template 987654
expect 1 batch "$work/no-such-folder"
grep -q 'does not exist' "$work/ec.out" || fail "a missing batch folder gives no clear error"
expect 1 batch "$work/batch/a.docx"
grep -q 'not a folder' "$work/ec.out" || fail "a batch on a file gives no clear error"
expect 1 show "$work/batch/a.docx"
grep -q 'not a saved check result' "$work/ec.out" || fail "show of a non-result: $(cat "$work/ec.out")"
expect 2 help nosuchcommand
expect 2 revise
expect 1 revise "$work/missing_Check.xml"
expect 2 html
expect 1 html "$work/missing_Check.xml"
for command in check batch show recheck revise html info catalogue parse text seg dict rules extract scan; do
  cmp -s <("$veskar" help $command) <("$veskar" $command --help) || fail "help $command differs from $command --help"
done

# --out: every output in the output folder, nothing beside the document;
# --log-dir: the day logs there, not in the current folder.
mkdir -p "$work/ro" "$work/cwd"; cp "$example" "$work/ro/paper.docx"
(cd "$work/cwd" && "$veskar" check "$work/ro/paper.docx" --out "$work/outdir" --log-dir "$work/logs" > "$work/out.txt" 2>&1) \
  || fail "check --out failed: $(cat "$work/out.txt")"
[ -f "$work/outdir/paper_Check.xml" ] && [ -f "$work/outdir/paper.xml" ] && [ -d "$work/outdir/paper_unzip" ] \
  || fail "check --out wrote no outputs into the output folder"
grep -q "result file: $work/outdir/paper_Check.xml" "$work/out.txt" || fail "check --out names another result file"
"$veskar" check "$work/ro/paper.docx" --out "$work/outdir" --format json > "$work/out.txt" 2>&1 || fail "check --out json"
grep -q "result file: $work/outdir/paper_Check.json" "$work/out.txt" || fail "json result file: $(tail -1 "$work/out.txt")"
"$veskar" parse "$work/ro/paper.docx" --out "$work/parsed" > /dev/null 2>&1 || fail "parse --out failed"
[ -f "$work/parsed/paper_Content.xml" ] || fail "parse --out wrote no content file there"
"$veskar" extract "$work/ro/paper.docx" --set 3 --out "$work/extracted" > /dev/null 2>&1 || fail "extract --out failed"
[ -n "$(ls "$work/extracted")" ] || fail "extract --out wrote nothing there"
"$veskar" batch "$work/ro" --out "$work/batched" > /dev/null 2>&1 || fail "batch --out failed"
[ -f "$work/batched/paper_Check.xml" ] || fail "batch --out wrote no result there"
[ "$(ls "$work/ro")" = "paper.docx" ] || fail "outputs beside the document: $(ls "$work/ro")"
(cd "$work/cwd" && "$veskar" check "$work/ro/missing.docx" --log-dir "$work/logs" > /dev/null 2>&1)
(cd "$work/cwd" && VESKAR_LOG_DIR="$work/envlogs" "$veskar" check "$work/ro/missing.docx" > /dev/null 2>&1)
[ -z "$(ls "$work/cwd")" ] || fail "logs in the current folder: $(ls "$work/cwd")"
grep -q 'missing.docx' "$work"/logs/*.err || fail "--log-dir got no error log"
grep -q 'missing.docx' "$work"/envlogs/*.err || fail "VESKAR_LOG_DIR got no error log"

# text: plain by default, the library's own form with --raw.
"$veskar" text "$example" > "$work/plain.txt" || fail "text failed"
"$veskar" text "$example" --raw > "$work/raw.txt" || fail "text --raw failed"
grep -q $'\r' "$work/plain.txt" && fail "text prints CR line ends"
grep -q '(Figure [0-9]*)\|<superscript>\|<subscript>' "$work/plain.txt" && fail "text prints markers or style tags"
grep -q $'\r' "$work/raw.txt" || fail "text --raw lost the library's CR LF"
[ "$(sort "$work/plain.txt" | uniq -d | grep -c .)" -le "$(sort "$work/raw.txt" | tr -d '\r' | uniq -d | grep -c .)" ] \
  || fail "text repeats more lines than --raw"

# batch --json: one JSON summary on stdout, findings beside every score.
"$veskar" batch "$work/batch" --threads 2 --json > "$work/batch.json" 2> /dev/null; [ $? -eq 1 ] || fail "batch --json status"
/usr/bin/python3 - "$work/batch.json" <<'PY' || fail "batch --json: $(head -c 300 "$work/batch.json")"
import json, sys
s = json.load(open(sys.argv[1]))
assert (s["total"], s["checked"], s["failed"]) == (3, 2, 1), s
for d in s["documents"]:
    assert d["status"] in ("ok", "failed")
    assert (d["findings"] is not None) == (d["status"] == "ok"), d
PY
"$veskar" batch "$work/ro" > "$work/table.txt" 2>&1
grep -q 'findings' "$work/table.txt" || fail "the batch table has no findings column"

# report.doc beside report.docx: two documents, two results, the user's
# .docx untouched, singly and by batch.
if command -v soffice > /dev/null 2>&1 || command -v libreoffice > /dev/null 2>&1; then
  office=$(command -v soffice || command -v libreoffice)
  mkdir -p "$work/pair" "$work/conv"; cp "$example" "$work/conv/report.docx"
  "$office" -env:UserInstallation=file://"$work/profile" --headless --convert-to doc --outdir "$work/pair" \
    "$work/conv/report.docx" > /dev/null 2>&1 || fail "LibreOffice could not make a .doc"
  printf 'PK-the-users-own-report' > "$work/pair/report.docx"
  "$veskar" check "$work/pair/report.doc" > "$work/pair.out" 2>&1 || fail "check report.doc: $(cat "$work/pair.out")"
  [ "$(cat "$work/pair/report.docx")" = "PK-the-users-own-report" ] || fail "check of report.doc replaced report.docx"
  cp "$example" "$work/pair/report.docx"; sum=$(md5sum < "$work/pair/report.docx")
  "$veskar" batch "$work/pair" --threads 2 > "$work/pair.out" 2>&1 || fail "batch of the pair: $(cat "$work/pair.out")"
  [ "$(md5sum < "$work/pair/report.docx")" = "$sum" ] || fail "the batch changed report.docx"
  [ -f "$work/pair/report_Check.xml" ] && [ -f "$work/pair/report.doc_Check.xml" ] \
    || fail "the pair has not two results: $(ls "$work/pair")"
  "$veskar" text "$work/pair/report.doc" | grep -q . || fail "text of a .doc is empty"
  [ "$(md5sum < "$work/pair/report.docx")" = "$sum" ] || fail "text of report.doc changed report.docx"
else
  echo "cli smoke: LibreOffice is not installed; the .doc beside .docx case is skipped"
fi
# A check really finds something: the example thesis writes 既使 for 即使,
# which the scan for wrongly written words reports once it is switched on.
data="$(dirname "$veskar")/Data"
if [ -d "$data" ]; then
  cp -r "$data" "$work/Data"
  sed -i 's/"FilterCheck": *"off"/"FilterCheck": "on"/' "$work/Data/RUX-Configure.json"
  cp "$example" "$work/demo.docx"
  "$veskar" check "$work/demo.docx" --data "$work" > "$work/demo.out" 2>&1 || fail "demo check: $(cat "$work/demo.out")"
  grep -q '既使' "$work/demo.out" || fail "the example thesis's 既使 is not found: $(cat "$work/demo.out")"
  grep -q '即使' "$work/demo.out" || fail "no proposed 即使: $(cat "$work/demo.out")"
  grep -q '^score: *100' "$work/demo.out" && fail "a check with a finding scores 100"
fi
echo "cli smoke: all passed"
