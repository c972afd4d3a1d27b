#!/usr/bin/env bash
# A checked corpus thesis in a real browser (headless chromium, started and
# stopped here): page 0 and the page with the most findings load without a
# script error, their side panels list every finding of the page once, and
# a screenshot of page 0 is taken. Skipped (77) without chromium or corpus.
set -u
veskar=${1:?usage: cli_browser.sh VESKAR DATA_DIR CORPUS_DIR}
data=${2:?}
corpus=${3:?}
thesis="$corpus/szu-laiweijian/论文格式稿.docx"
chromium=$(command -v chromium || command -v chromium-browser || true)
[ -n "$chromium" ] || { echo "SKIP: no chromium"; exit 77; }
[ -f "$thesis" ] || { echo "SKIP: no corpus thesis at $thesis"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cp "$thesis" "$work/论文 稿.docx"
"$veskar" check "$work/论文 稿.docx" --type 7 --html --data "$data" --log-dir "$work" > "$work/check.out" 2>&1 \
  || fail "check --html failed: $(tail -3 "$work/check.out")"
grep -q "^pages:   $work/论文 稿_0.htm" "$work/check.out" || fail "no page 0: $(tail -3 "$work/check.out")"

# Marks share their name when one finding has two (a replacement): one entry each.
names() { grep -o '<\(ins\|del\) name="[^"]*"' "$1" | cut -d'"' -f2 | sort -u | wc -l; }
busiest=$(for page in "$work"/论文\ 稿_[0-9]*.htm; do echo "$(names "$page") $page"; done | sort -n | tail -1 | cut -d' ' -f2-)

browse() {  # page, output DOM, console log, [screenshot]
  local extra=()
  [ $# -ge 4 ] && extra=(--screenshot="$4" --window-size=1400,1000)
  timeout 90 "$chromium" --headless --no-sandbox --disable-gpu --user-data-dir="$work/profile" \
    --enable-logging=stderr --v=0 --virtual-time-budget=3000 "${extra[@]}" --dump-dom "file://$1" > "$2" 2> "$3"
}
for page in "$work/论文 稿_0.htm" "$busiest"; do
  browse "$page" "$work/dom.html" "$work/console.txt" "$work/shot.png" || fail "chromium failed on $page"
  ! grep -q 'Uncaught' "$work/console.txt" || fail "script error on $page: $(grep Uncaught "$work/console.txt" | head -2)"
  want=$(names "$page")
  grep -q "本页问题（$want）" "$work/dom.html" || fail "$page: panel does not count $want findings"
  listed=$(sed -n '/id="vk-panel"/,$p' "$work/dom.html" | grep -o '<li>' | wc -l)
  [ "$listed" -eq "$want" ] || fail "$page: panel lists $listed of $want findings"
done
[ "$(names "$busiest")" -gt 0 ] || fail "no page marks a finding"
[ -s "$work/shot.png" ] || fail "no screenshot"
echo "ok: page 0 and $(basename "$busiest") ($(names "$busiest") findings) render with their panels"
