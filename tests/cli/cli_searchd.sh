#!/usr/bin/env bash
# veskar searchd end to end: a user's catalogue is imported into a new
# database (a bad source is refused whole), the service is started on a
# free loopback port and asked over bash's /dev/tcp: the answer frame's
# length agrees with the bytes that follow and holds a QuickLZ block; then a
# second server on the same port fails, and SIGTERM stops the first.
set -u
veskar=${1:?usage: cli_searchd.sh VESKAR}
work=$(mktemp -d)
pid=""
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; [ -f "$work/out" ] && sed 's/^/  server: /' "$work/out"; exit 1; }

printf 'number\ttitle\tdate\tstatus\treplaced_by\nGB 50016-2014\t建筑设计防火规范\t2015-05-01\tcurrent\n' > "$work/mine.tsv"
printf 'number\ttitle\nGB 1-2000\n' > "$work/bad.tsv"
"$veskar" searchd import "$work/mine.tsv" --db "$work/c.db" > "$work/import" 2>&1 || fail "import: $(cat "$work/import")"
grep -q "1 standards, 0 clause values" "$work/import" || fail "import summary: $(cat "$work/import")"
"$veskar" searchd import "$work/bad.tsv" --db "$work/c.db" > "$work/bad" 2>&1
[ $? -eq 1 ] || fail "a bad source was not refused: $(cat "$work/bad")"
grep -q "line 2" "$work/bad" || fail "the refusal names no line: $(cat "$work/bad")"
"$veskar" searchd --port 70000 --db "$work/c.db" > /dev/null 2>&1
[ $? -eq 2 ] || fail "--port 70000 is no usage error"

"$veskar" searchd --port 0 --db "$work/c.db" > "$work/out" 2>&1 &
pid=$!
port=""
for _ in $(seq 1 100); do
  port=$(sed -n 's|.*listening on 127\.0\.0\.1:\([0-9]*\),.*|\1|p' "$work/out")
  [ -n "$port" ] && break
  kill -0 "$pid" 2>/dev/null || fail "searchd ended before listening"
  sleep 0.1
done
[ -n "$port" ] || fail "searchd printed no port"

# The request: total length, start 0, count 10, query length, query.
query='[field] Safety_Tiaowenhao [whole] GB 50016-2014'
exec 3<>"/dev/tcp/127.0.0.1/$port" || fail "cannot connect to port $port"
printf "\\x00\\x00\\x00\\x$(printf %02x $((12 + ${#query})))\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x0a\\x00\\x00\\x00\\x$(printf %02x ${#query})%s" \
  "$query" >&3
timeout 10 cat <&3 > "$work/answer"
exec 3<&-
size=$(stat -c %s "$work/answer")
length=$(od -An -tu1 -N4 "$work/answer" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
[ "$size" -gt 4 ] && [ "$length" -eq $((size - 4)) ] || fail "answer frame: length $length, $size bytes"
flag=$(od -An -tx1 -j4 -N1 "$work/answer" | tr -d ' ')
case "$flag" in 44|45|46|47) ;; *) fail "no QuickLZ level-1 block (flag $flag)" ;; esac

"$veskar" searchd --port "$port" --db "$work/c.db" > "$work/second" 2>&1
[ $? -eq 1 ] || fail "a second server on port $port did not fail: $(cat "$work/second")"

kill -TERM "$pid"
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "searchd did not stop on SIGTERM"
wait "$pid"
status=$?
pid=""
[ $status -eq 0 ] || fail "searchd exited $status after SIGTERM"
grep -q "stopped after 1 answers" "$work/out" || fail "searchd did not say it stopped"
echo "cli_searchd: all passed"
