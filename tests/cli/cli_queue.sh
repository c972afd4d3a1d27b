#!/usr/bin/env bash
# The Redis job queue end to end, on a redis-server of its own on a free
# loopback port: 200 documents over 3 workers while Redis is killed and
# started again (append-only file, fsync always), every result recorded
# exactly once; workers that stop on SIGTERM or when idle; results as files
# with --out; a long job kept by its worker while a second one waits; a
# worker killed in the middle of a job, the job finished by another after
# the claim time; a corrupt document in the dead letters after its retries;
# clear errors for an unreachable server and a bad URL; and the stable share
# split of 'veskar batch --shard i/n' for n = 1..7.
set -u
veskar=${1:?usage: cli_queue.sh VESKAR DATA_DIR}
data=${2:?}
command -v redis-server > /dev/null && command -v redis-cli > /dev/null || { echo "SKIP: no redis-server"; exit 77; }
work=$(mktemp -d)
redis_pid=""
workers=()
cleanup() {
  for pid in "${workers[@]}" $redis_pid; do kill -9 "$pid" 2> /dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; for f in "$work"/w*.log "$work"/redis.log; do [ -f "$f" ] && sed "s|^|  $(basename "$f"): |" "$f" | tail -5; done; exit 1; }
cp -r "$data" "$work/Data"
export VESKAR_LOG_DIR="$work"  # the day logs of every run stay in the temporary folder

# ---- the share split, without Redis
echo "[$SECONDS s] the share split, without Redis"
mkdir -p "$work/shard/a/b" "$work/shard/c"
for i in $(seq 1 21); do
  printf '第%d章 绪论\n本文研究问题%d的方法与结果。\n' "$i" "$i" > "$work/shard/$( [ $((i % 3)) = 0 ] && echo a/b || echo c)/doc$i.txt"
done
# With --out the shares mirror the folder's tree there and leave it clean.
for i in 1 2 3; do
  "$veskar" batch "$work/shard" --shard "$i/3" --out "$work/shard-out" --data "$work" > /dev/null 2>&1 ||
    fail "share $i/3 with --out"
done
[ "$(find "$work/shard-out" -name '*_Check.xml' | wc -l)" = 21 ] || fail "--out holds not 21 results"
[ -f "$work/shard-out/a/b/doc3_Check.xml" ] || fail "--out does not mirror the sub-folders"
[ "$(find "$work/shard" -type f | wc -l)" = 21 ] || fail "--out wrote beside the documents"
for n in 1 2 3 4 5 6 7; do
  : > "$work/shares"
  for i in $(seq 1 "$n"); do
    "$veskar" batch "$work/shard" --shard "$i/$n" --threads 2 --json --data "$work" 2> /dev/null |
      sed -n 's/.*"file" : "\(.*\)",/\1/p' >> "$work/shares"
  done
  [ "$(wc -l < "$work/shares")" = 21 ] || fail "shares of $n hold $(wc -l < "$work/shares") documents, not 21"
  [ "$(sort -u "$work/shares" | wc -l)" = 21 ] || fail "shares of $n check a document twice"
done
"$veskar" batch "$work/shard" --shard 0/3 > /dev/null 2>&1; [ $? = 2 ] || fail "--shard 0/3 is no usage error"
"$veskar" batch "$work/shard" --shard 4/3 > /dev/null 2>&1; [ $? = 2 ] || fail "--shard 4/3 is no usage error"

# ---- errors without a server
echo "[$SECONDS s] errors without a server"
"$veskar" status --redis redis://localhost:6379x > /dev/null 2>&1; [ $? = 2 ] || fail "bad URL is no usage error"
"$veskar" submit "$work/shard" > /dev/null 2>&1; [ $? = 2 ] || fail "submit without --redis is no usage error"
"$veskar" worker --redis redis://127.0.0.1:1 --threads 0 > /dev/null 2>&1; [ $? = 2 ] || fail "--threads 0 is no usage error"
"$veskar" worker --redis redis://127.0.0.1:1 --exit-when-idle x > /dev/null 2>&1; [ $? = 2 ] ||
  fail "--exit-when-idle x is no usage error"
# Ports below the usual ephemeral range, so an outgoing connection does not
# hold the one picked.
pick_port() { port=$((20000 + RANDOM % 12000)); url="redis://127.0.0.1:$port"; }
pick_port
out=$(timeout 20 "$veskar" status --redis "$url" 2>&1); rc=$?
[ $rc = 1 ] && echo "$out" | grep -q "cannot reach Redis" || fail "unreachable server: rc $rc, $out"

# ---- a server of our own
echo "[$SECONDS s] a server of our own"
mkdir -p "$work/redis"
start_redis() {  # true once it answers; false when its port is taken
  (exec 3<> "/dev/tcp/127.0.0.1/$port") 2> /dev/null && return 1
  redis-server --port "$port" --bind 127.0.0.1 --dir "$work/redis" --save "" --appendonly yes \
    --appendfsync always --daemonize no > "$work/redis.log" 2>&1 &
  redis_pid=$!
  for _ in $(seq 1 100); do
    kill -0 "$redis_pid" 2> /dev/null || return 1
    redis-cli -p "$port" ping 2> /dev/null | grep -q PONG && return 0
    sleep 0.1
  done
  fail "redis-server did not answer"
}
for _ in $(seq 1 20); do start_redis && break; pick_port; done
redis-cli -p "$port" ping > /dev/null 2>&1 || fail "redis-server did not start"
rcli() { redis-cli -p "$port" "$@"; }
out=$("$veskar" submit "$work/missing.docx" --redis "$url" 2>&1); rc=$?
[ $rc = 1 ] && echo "$out" | grep -q "cannot find" || fail "submit of a missing file: rc $rc, $out"
[ "$(rcli XLEN veskar:jobs)" = 0 ] || fail "a missing file became a job"
start_worker() {  # NAME OPTIONS...
  local name=$1; shift
  "$veskar" worker --redis "$url" --data "$work" "$@" > "$work/$name.log" 2>&1 &
  workers+=($!)
}
wait_for() {  # SECONDS CONDITION...
  local limit=$1; shift
  for _ in $(seq 1 $((limit * 10))); do "$@" && return 0; sleep 0.1; done
  return 1
}

# ---- 200 documents over 3 workers, Redis killed and restarted meanwhile
echo "[$SECONDS s] 200 documents over 3 workers, Redis killed and restarted meanwhile"
mkdir -p "$work/docs"
# Long enough (a few ms each) that Redis goes down with most jobs still to do.
paragraphs=$(for j in $(seq 1 200); do printf '第%d段讨论研究对象、方法与结果。\n' "$j"; done)
for i in $(seq 1 200); do
  printf '第一章 引言\n这是第%d份测试文档。\n%s\n结论：方法有效。\n' "$i" "$paragraphs" > "$work/docs/doc$i.txt"
done
"$veskar" submit "$work"/docs/doc{1..100}.txt --redis "$url" > "$work/ids" || fail "submit by path"
"$veskar" submit "$work"/docs/doc{101..200}.txt --redis "$url" --inline >> "$work/ids" || fail "submit inline"
[ "$(wc -l < "$work/ids")" = 200 ] || fail "submit printed $(wc -l < "$work/ids") ids"
for w in 1 2 3; do start_worker "w$w" --claim-after 1500; done
done_count() { rcli HLEN veskar:jobs:done 2> /dev/null || echo 0; }
done_at_least() { [ "$(done_count)" -ge "$1" ] 2> /dev/null; }
wait_for 60 done_at_least 1 || fail "no progress: $(done_count) done"
# Frozen, the workers cannot finish more before Redis goes down.
for pid in "${workers[@]}"; do kill -STOP "$pid"; done
done_at_kill=$(done_count)
kill -9 "$redis_pid"; wait "$redis_pid" 2> /dev/null
for pid in "${workers[@]}"; do kill -CONT "$pid"; done
[ "$done_at_kill" -lt 200 ] || fail "Redis went down only after every job was done"
echo "  Redis killed with $done_at_kill of 200 jobs done"
[ "$(wc -l < "$work/redis/appendonlydir/"*.incr.aof)" -gt 0 ] || fail "no append-only file"
sleep 1
start_redis || fail "redis-server did not start again on port $port"
wait_for 60 done_at_least 200 || fail "after the restart only $(done_count) of 200 done"
rcli XRANGE veskar:jobs:results - + | awk 'prev == "job" { print } { prev = $0 }' | sort > "$work/finished"
[ "$(wc -l < "$work/finished")" = 200 ] || fail "$(wc -l < "$work/finished") results recorded, not 200"
cut -d' ' -f1 "$work/ids" | sort | cmp -s - "$work/finished" || fail "the results are not the 200 jobs, once each"
[ "$(rcli --scan --pattern 'veskar:jobs:result:*' | wc -l)" = 200 ] || fail "not 200 stored results"
grep -q "connected again" "$work"/w*.log || fail "no worker noticed the restart"
status=$("$veskar" status --redis "$url" --json) || fail "status"
echo "$status" | grep -q '"done":200' && echo "$status" | grep -q '"running":0' || fail "status: $status"
"$veskar" status --redis "$url" | grep -q "waiting 0, running 0, done 200, failed 0" || fail "status text"
for pid in "${workers[@]}"; do kill -TERM "$pid"; done
for pid in "${workers[@]}"; do
  timeout 20 tail --pid="$pid" -f /dev/null || fail "a worker did not stop on SIGTERM"
done
workers=()
grep -q "stopped after" "$work/w1.log" || fail "worker 1 did not stop cleanly"
[ -z "$(rcli XINFO CONSUMERS veskar:jobs veskar)" ] || fail "stopped workers stay listed"
"$veskar" submit "$work/docs/doc1.txt" --redis "$url" > /dev/null || fail "submit one more"
timeout 30 "$veskar" worker --redis "$url" --data "$work" --threads 2 --exit-when-idle 1 --out "$work/results" \
  > "$work/idle.log" 2>&1 || fail "--exit-when-idle: $(cat "$work/idle.log")"
grep -q "stopped after 1 jobs done" "$work/idle.log" || fail "--exit-when-idle: $(cat "$work/idle.log")"
# With --out Redis keeps the result file's path; the same document's key is reused.
stored=$(rcli HGET veskar:jobs:done "$(rcli XREVRANGE veskar:jobs + - COUNT 1 | head -1)")
[ "$(rcli HVALS veskar:jobs:done | grep -cx "$stored")" = 2 ] || fail "doc1 twice, not one key"
case $(rcli GET "$stored") in
  "$work"/results/*/doc1_Check.json) [ -s "$(rcli GET "$stored")" ] || fail "--out: no result file" ;;
  *) fail "--out: Redis holds $(rcli GET "$stored" | head -c 80)" ;;
esac

# ---- a long job stays with its worker: the claim is renewed while it runs
echo "[$SECONDS s] a long job stays with its worker"
mkfifo "$work/long.txt"
"$veskar" submit "$work/long.txt" --redis "$url" > "$work/long.id" || fail "submit the long job"
long_id=$(cut -d' ' -f1 "$work/long.id")
start_worker wl --claim-after 1000
pending_one() { rcli XPENDING veskar:jobs veskar | head -1 | grep -qx 1; }
wait_for 20 pending_one || fail "no worker took the long job"
start_worker wm --claim-after 1000
sleep 4
deliveries=$(rcli XPENDING veskar:jobs veskar - + 10 | sed -n 4p)
[ "$deliveries" = 1 ] || fail "the long job was handed out $deliveries times while it ran"
printf '第一章 引言\n这份文档读得很慢。\n' > "$work/long.txt"
finished_long() { rcli HGET veskar:jobs:done "$long_id" | grep -q result; }
wait_for 30 finished_long || fail "the long job was not finished"
[ "$(rcli XRANGE veskar:jobs:results - + | grep -cx "$long_id")" = 1 ] || fail "the long job recorded not once"
for pid in "${workers[@]}"; do kill -TERM "$pid"; wait "$pid"; done
workers=()
rm "$work/long.txt"

# ---- a worker killed in the middle of a job: it hangs reading a pipe
echo "[$SECONDS s] a worker killed in the middle of a job: it hangs reading a pipe"
mkfifo "$work/slow.txt"
"$veskar" submit "$work/slow.txt" --redis "$url" > "$work/slow.id" || fail "submit the slow job"
slow_id=$(cut -d' ' -f1 "$work/slow.id")
start_worker wa --claim-after 1500
wait_for 20 pending_one || fail "worker A did not take the job"
kill -9 "${workers[0]}"; wait "${workers[0]}" 2> /dev/null
rm "$work/slow.txt"; printf '第一章 引言\n这份文档在检查中途失去了它的工作进程。\n' > "$work/slow.txt"
start_worker wb --claim-after 1500 --retries 3
finished_slow() { rcli HGET veskar:jobs:done "$slow_id" | grep -q result; }
wait_for 60 finished_slow || fail "the killed worker's job was not finished by another"
[ "$(rcli XRANGE veskar:jobs:results - + | grep -cx "$slow_id")" = 1 ] || fail "the slow job recorded not once"

# ---- a corrupt document ends in the dead letters after 3 tries
echo "[$SECONDS s] a corrupt document ends in the dead letters after 3 tries"
head -c 3000 /dev/urandom > "$work/corrupt.docx"
"$veskar" submit "$work/corrupt.docx" --redis "$url" --inline > /dev/null || fail "submit corrupt"
dead() { [ "$(rcli XLEN veskar:jobs:dead)" = 1 ]; }
wait_for 30 dead || fail "the corrupt document is not in the dead letters"
rcli XRANGE veskar:jobs:dead - + | grep -q corrupt.docx || fail "dead letter without its name"
[ "$(grep -c "corrupt\|failed (try" "$work/wb.log")" -ge 2 ] || fail "the corrupt document was not retried"
"$veskar" status --redis "$url" --json | grep -q '"failed":1' || fail "status misses the failure"
echo "PASS"
