#!/usr/bin/env bash
# veskar spelld end to end: the service is started on a free loopback port
# with a copy of the data folder and asked over plain HTTP (bash's /dev/tcp,
# so the test needs no HTTP client): a sentence with a wrong character, a
# correct one, another path, another method, an oversized and a malformed
# body; then a second server on the same port fails, and SIGTERM stops the
# first cleanly.
set -u
veskar=${1:?usage: cli_spelld.sh VESKAR DATA_DIR}
data=${2:?}
work=$(mktemp -d)
pid=""
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; [ -f "$work/out" ] && sed 's/^/  server: /' "$work/out"; exit 1; }
cp -r "$data" "$work/Data"

"$veskar" spelld --port 0 --data "$work" > "$work/out" 2>&1 &
pid=$!
port=""
for _ in $(seq 1 300); do
  port=$(sed -n 's|.*http://127\.0\.0\.1:\([0-9]*\)/get_maybe_sentence.*|\1|p' "$work/out")
  [ -n "$port" ] && break
  kill -0 "$pid" 2>/dev/null || fail "spelld ended before listening"
  sleep 0.1
done
[ -n "$port" ] || fail "spelld printed no URL"

# Sends one raw request and prints the whole answer.
ask() {
  exec 3<>"/dev/tcp/127.0.0.1/$port" || fail "cannot connect to port $port"
  printf '%b' "$1" >&3
  timeout 15 cat <&3
  exec 3<&-
}
post() {
  local body="$2" len
  len=$(printf '%s' "$body" | wc -c)
  ask "POST $1 HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: $len\r\n\r\n$body"
}

answer=$(post /get_maybe_sentence '"sentence"="这是一个重要的问提"')
echo "$answer" | head -1 | grep -q "^HTTP/1.1 200 " || fail "good request: $answer"
echo "$answer" | grep -q '"org":"提"' || fail "no correction of 提: $answer"
echo "$answer" | grep -q '"revise":"题"' || fail "no 题 proposed: $answer"
echo "$answer" | grep -q '"start":24' || fail "start is no byte offset: $answer"
echo "$answer" | grep -q '"end":27' || fail "end is no byte offset: $answer"

answer=$(post /get_maybe_sentence '"sentence"="我们已经完成了实验研究"')
echo "$answer" | grep -q '{"pred_sentences":\[{"detail":\[\]}\]}' || fail "correct sentence: $answer"

answer=$(post /other '"sentence"="问提"')
echo "$answer" | head -1 | grep -q "^HTTP/1.1 404 " || fail "other path: $answer"
answer=$(ask "GET /get_maybe_sentence HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n")
echo "$answer" | head -1 | grep -q "^HTTP/1.1 405 " || fail "GET: $answer"
answer=$(ask "POST /get_maybe_sentence HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 70000\r\n\r\n")
echo "$answer" | head -1 | grep -q "^HTTP/1.1 413 " || fail "oversized body: $answer"
answer=$(post /get_maybe_sentence 'sentence=这是一个重要的问提')
echo "$answer" | head -1 | grep -q "^HTTP/1.1 400 " || fail "malformed body: $answer"
answer=$(ask "POST /get_maybe_sentence HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n")
echo "$answer" | head -1 | grep -q "^HTTP/1.1 411 " || fail "no length: $answer"
answer=$(ask "garbage\r\n\r\n")
echo "$answer" | head -1 | grep -q "^HTTP/1.1 400 " || fail "no request line: $answer"

# The service still answers after the refusals.
answer=$(post /get_maybe_sentence '"sentence"="请大家耐心等侯"')
echo "$answer" | grep -q '"revise":"候"' || fail "after refusals: $answer"

"$veskar" spelld --port "$port" --data "$work" > "$work/second" 2>&1
[ $? -eq 1 ] || fail "a second server on port $port did not fail: $(cat "$work/second")"
"$veskar" spelld --port 70000 --data "$work" > /dev/null 2>&1
[ $? -eq 2 ] || fail "--port 70000 is no usage error"

kill -TERM "$pid"
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "spelld did not stop on SIGTERM"
wait "$pid"
status=$?
pid=""
[ $status -eq 0 ] || fail "spelld exited $status after SIGTERM"
grep -q "stopped" "$work/out" || fail "spelld did not say it stopped"
echo "cli_spelld: all passed"
