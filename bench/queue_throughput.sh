#!/usr/bin/env bash
# Documents per second through the Redis job queue (veskar submit + one
# veskar worker with 1, 2 and 4 threads) against veskar batch with the same
# threads on the same documents, the worker's own cost per job (on tiny text
# documents, where the check itself costs almost nothing), and what this
# machine's Redis takes of the commands a job needs. Starts its own
# redis-server on a free loopback port; works on copies in a temporary folder.
#   bench/queue_throughput.sh BUILD_DIR [CORPUS_DIR] [ROUNDS]
# CORPUS_DIR: the .docx under it (below 2 MB) are copied ROUNDS times (default 4).
set -u
build=${1:?usage: queue_throughput.sh BUILD_DIR [CORPUS_DIR] [ROUNDS]}
corpus=${2:-$(dirname "$0")/../../shared/corpus}
rounds=${3:-4}
veskar=$build/veskar
work=$(mktemp -d)
redis_pid=""
cleanup() { [ -n "$redis_pid" ] && kill "$redis_pid" 2> /dev/null; rm -rf "$work"; }
trap cleanup EXIT
cp -r "$build/Data" "$work/Data"

# ---- the documents: corpus copies, and tiny text documents
mkdir -p "$work/docs" "$work/tiny"
for r in $(seq 1 "$rounds"); do
  mkdir -p "$work/docs/copy$r"
  find "$corpus" -name '*.docx' -size -2M -exec cp {} "$work/docs/copy$r/" \;
done
docs=$(find "$work/docs" -name '*.docx' | wc -l)
[ "$docs" -gt 0 ] || { echo "no .docx under $corpus"; exit 1; }
tiny=400
for i in $(seq 1 "$tiny"); do printf '第一章 引言\n测试文档%d。\n' "$i" > "$work/tiny/t$i.txt"; done

# ---- a Redis of our own (no persistence: the disk is not what is measured)
for _ in $(seq 1 20); do
  port=$((20000 + RANDOM % 12000))
  (exec 3<> "/dev/tcp/127.0.0.1/$port") 2> /dev/null && continue
  redis-server --port "$port" --bind 127.0.0.1 --save "" --appendonly no --dir "$work" > "$work/redis.log" 2>&1 &
  redis_pid=$!
  for _ in $(seq 1 50); do
    kill -0 "$redis_pid" 2> /dev/null || break
    redis-cli -p "$port" ping 2> /dev/null | grep -q PONG && break 2
    sleep 0.1
  done
done
redis-cli -p "$port" ping > /dev/null 2>&1 || { echo "redis-server did not start"; exit 1; }
url="redis://127.0.0.1:$port"
rcli() { redis-cli -p "$port" "$@"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Both ways are timed from the process start (library start-up included) to
# the last result stored: the batch's last result file, the queue's last
# entry in the results stream (below), so neither pays for its exit.
batch_seconds() {  # DIR THREADS
  local start last
  rm -rf "$work/out"
  start=$(now_ms)
  "$veskar" batch "$1" --threads "$2" --format json --json --out "$work/out" --data "$work" > /dev/null 2>&1
  last=$(find "$work/out" -name '*_Check.json' -printf '%T@\n' | sort -n | tail -1)
  echo "$last - $start / 1000" | bc -l
}

# The queue's end is read from the last result's stream id, which is Redis's
# clock in milliseconds, so polling does not blur it.
queue_seconds() {  # DIR THREADS COUNT
  local start last pid
  rcli FLUSHALL > /dev/null
  "$veskar" submit "$1" --redis "$url" > /dev/null
  start=$(now_ms)
  "$veskar" worker --redis "$url" --threads "$2" --data "$work" > /dev/null 2>&1 &
  pid=$!
  until [ "$(rcli HLEN veskar:jobs:done)" -ge "$3" ]; do sleep 0.2; done
  last=$(rcli XREVRANGE veskar:jobs:results + - COUNT 1 | head -1)
  kill -TERM "$pid"; wait "$pid"
  echo "(${last%-*} - $start) / 1000" | bc -l
}

best() {  # the fastest of three runs: other work on the machine only slows
  local a b c
  a=$("$@"); b=$("$@"); c=$("$@")
  echo "m = $a; if ($b < m) m = $b; if ($c < m) m = $c; m" | bc -l
}

printf '%d documents (%d rounds of the corpus .docx below 2 MB), %d cores\n' "$docs" "$rounds" "$(nproc)"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-8s %12s %12s %10s\n' threads "batch doc/s" "queue doc/s" "queue cost"
for threads in 1 2 4; do
  b=$(best batch_seconds "$work/docs" "$threads")
  q=$(best queue_seconds "$work/docs" "$threads" "$docs")
  printf '%-8d %12.2f %12.2f %9.1f%%\n' "$threads" "$(echo "$docs / $b" | bc -l)" "$(echo "$docs / $q" | bc -l)" \
    "$(echo "($q - $b) * 100 / $b" | bc -l)"
done

echo
echo "the worker's own cost per job, on $tiny tiny text documents, 1 thread:"
b=$(best batch_seconds "$work/tiny" 1)
q=$(best queue_seconds "$work/tiny" 1 "$tiny")
printf '  wall: batch %.1f doc/s, queue %.1f doc/s: %.2f ms per job more through the queue\n' \
  "$(echo "$tiny / $b" | bc -l)" "$(echo "$tiny / $q" | bc -l)" "$(echo "($q - $b) * 1000 / $tiny" | bc -l)"
# Processor time does not depend on what else the machine runs; a worker
# waiting for jobs takes none, so --exit-when-idle does not blur it.
cpu_ms() { /usr/bin/time -f '%U %S' "$@" 2>&1 > /dev/null | tail -1 | awk '{ printf "%.0f", ($1 + $2) * 1000 }'; }
rcli FLUSHALL > /dev/null
"$veskar" submit "$work/tiny" --redis "$url" > /dev/null
qc=$(cpu_ms "$veskar" worker --redis "$url" --data "$work" --exit-when-idle 1)
bc_=$(cpu_ms "$veskar" batch "$work/tiny" --threads 1 --format json --out "$work/out" --data "$work")
printf '  processor: batch %.2f ms per document, worker %.2f ms per job (start-up included in both)\n' \
  "$(echo "$bc_ / $tiny" | bc -l)" "$(echo "$qc / $tiny" | bc -l)"

# What Redis itself takes: job-sized XADDs, and the finishing script a worker
# runs per job (SET, HSETNX, XADD, XACK), from 50 clients.
echo
echo "this machine's Redis, 50 clients, no pipelining:"
rcli XGROUP CREATE bench:jobs g 0 MKSTREAM > /dev/null
redis-benchmark -p "$port" -n 100000 -c 50 -q \
  XADD bench:jobs '*' name doc.docx type 6 path /data/theses/doc.docx 2> /dev/null | tr '\r' '\n' | tail -1 |
  sed 's/^/  XADD (submit): /'
finish="redis.call('SET', KEYS[1], ARGV[1]) redis.call('HSETNX', KEYS[3], ARGV[3], KEYS[1])
redis.call('XADD', KEYS[2], '*', 'job', ARGV[3], 'key', KEYS[1]) return redis.call('XACK', KEYS[4], ARGV[2], ARGV[3])"
redis-benchmark -p "$port" -n 100000 -c 50 -r 100000 -q \
  EVAL "$finish" 4 bench:result:__rand_int__ bench:results bench:done bench:jobs '{"score":70}' g 1-__rand_int__ \
  2> /dev/null | tr '\r' '\n' | tail -1 | sed 's/^/  finishing script (per job): /'
