#!/usr/bin/env bash
# Documents per second through the Redis job queue (veskar submit + one
# veskar worker with 1, 2 and 4 threads) against veskar batch with the same
# threads on the same documents, the worker's own cost per job (on tiny text
# documents, where the check itself costs almost nothing), and what this
# machine's Redis takes of the commands a job needs. Starts its own
# redis-server on a free loopback port; works on copies in a temporary folder.
#   [THREADS="1 2 4"] [RUNS=3] [SHOW_RUNS=1] [TABLE_ONLY=1] bench/queue_throughput.sh BUILD_DIR [CORPUS_DIR] [ROUNDS]
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
export VESKAR_LOG_DIR="$work"

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
# entry in the results stream (Redis's clock in milliseconds), so neither
# pays for its exit. Processor time (user + system, Redis's own included for
# the queue) hardly depends on what else the machine runs; the worker stops
# by itself one second after the last job and takes none while it waits.
# Each prints "SECONDS PROCESSOR_MS".
batch_run() {  # DIR THREADS
  local start last
  rm -rf "$work/out"
  start=$(now_ms)
  /usr/bin/time -f '%U %S' -o "$work/time" \
    "$veskar" batch "$1" --threads "$2" --format json --json --out "$work/out" --data "$work" > /dev/null 2>&1
  last=$(find "$work/out" -name '*_Check.json' -printf '%T@\n' | sort -n | tail -1)
  echo "$(echo "$last - $start / 1000" | bc -l) $(awk '{ printf "%.0f", ($1 + $2) * 1000 }' "$work/time")"
}

redis_cpu_ms() {
  rcli INFO cpu | tr -d '\r' | awk -F: '/^used_cpu_(sys|user):/ { t += $2 } END { printf "%.0f", t * 1000 }'
}

queue_run() {  # DIR THREADS
  local start last before
  rcli FLUSHALL > /dev/null
  "$veskar" submit "$1" --redis "$url" > /dev/null
  before=$(redis_cpu_ms)
  start=$(now_ms)
  /usr/bin/time -f '%U %S' -o "$work/time" \
    "$veskar" worker --redis "$url" --threads "$2" --exit-when-idle 1 --data "$work" > /dev/null 2>&1
  last=$(rcli XREVRANGE veskar:jobs:results + - COUNT 1 | head -1)
  echo "$(echo "(${last%-*} - $start) / 1000" | bc -l)" \
    "$(awk -v r=$(($(redis_cpu_ms) - before)) '{ printf "%.0f", ($1 + $2) * 1000 + r }' "$work/time")"
}

# RUNS runs of each (default 3), taken in turn so a busy spell of the machine
# hits both; the least of each measure counts (other work only ever adds to
# it). Each run goes to $work/runs.log. Prints "BATCH_S BATCH_MS QUEUE_S QUEUE_MS".
compare() {  # DIR THREADS
  local runs="" run
  for _ in $(seq 1 "${RUNS:-3}"); do
    run="$(batch_run "$1" "$2") $(queue_run "$1" "$2")"
    echo "$1 threads $2: $run" >> "$work/runs.log"
    runs+="$run"$'\n'
  done
  echo "$runs" | awk 'NF == 4 { for (i = 1; i <= 4; ++i) if (!(i in m) || $i < m[i]) m[i] = $i }
                      END { print m[1], m[2], m[3], m[4] }'
}

printf '%d documents (%d rounds of the corpus .docx below 2 MB), %d cores\n' "$docs" "$rounds" "$(nproc)"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-8s %12s %12s %10s %16s %16s\n' threads "batch doc/s" "queue doc/s" "wall cost" "batch ms/doc" "queue ms/job"
for threads in ${THREADS:-1 2 4}; do
  read -r bs bm qs qm < <(compare "$work/docs" "$threads")
  printf '%-8d %12.2f %12.2f %9.1f%% %16.1f %16.1f\n' "$threads" "$(echo "$docs / $bs" | bc -l)" \
    "$(echo "$docs / $qs" | bc -l)" "$(echo "($qs - $bs) * 100 / $bs" | bc -l)" \
    "$(echo "$bm / $docs" | bc -l)" "$(echo "$qm / $docs" | bc -l)"
done
echo "(ms/doc, ms/job: processor time per document, start-up included; the queue's with Redis's)"
[ -n "${SHOW_RUNS:-}" ] && sed 's/^/  run: /' "$work/runs.log"
[ -n "${TABLE_ONLY:-}" ] && exit 0

echo
echo "the worker's own cost per job, on $tiny tiny text documents, 1 thread:"
read -r bs bm qs qm < <(compare "$work/tiny" 1)
printf '  wall: batch %.1f doc/s, queue %.1f doc/s: %.2f ms per job more through the queue\n' \
  "$(echo "$tiny / $bs" | bc -l)" "$(echo "$tiny / $qs" | bc -l)" "$(echo "($qs - $bs) * 1000 / $tiny" | bc -l)"
printf '  processor: batch %.2f ms per document, queue %.2f ms per job (worker and Redis)\n' \
  "$(echo "$bm / $tiny" | bc -l)" "$(echo "$qm / $tiny" | bc -l)"

# Redis's own processor time per job, submit included: what bounds how many
# workers one Redis can serve. Results are either the JSON text in Redis or,
# with --out, a path to a file in a shared folder.
# Redis spends a little on its own timers even when idle; that share of the
# run is taken off.
idle_before=$(redis_cpu_ms); sleep 3; idle_per_s=$(echo "($(redis_cpu_ms) - $idle_before) / 3" | bc -l)
redis_ms() {  # DIR COUNT SUBMIT_OPTION|"" WORKER_OPTIONS...
  local dir=$1 count=$2 submit=$3 before start
  shift 3
  rcli FLUSHALL > /dev/null
  before=$(redis_cpu_ms)
  start=$(now_ms)
  "$veskar" submit "$dir" --redis "$url" $submit > /dev/null
  "$veskar" worker --redis "$url" --exit-when-idle 1 --data "$work" "$@" > /dev/null 2>&1
  printf '%.3f' "$(echo "($(redis_cpu_ms) - $before - $idle_per_s * ($(now_ms) - $start) / 1000) / $count" | bc -l)"
}
echo
echo "Redis's processor time per job (submit, read, store, acknowledge):"
memory() { rcli INFO memory | tr -d '\r' | sed -n 's/^used_memory_human:/Redis holds /p'; }
echo "  tiny documents: $(redis_ms "$work/tiny" "$tiny" "") ms"
echo "  corpus documents by path, JSON results in Redis: $(redis_ms "$work/docs" "$docs" "") ms; $(memory)"
echo "  corpus documents by path, --out: $(redis_ms "$work/docs" "$docs" "" --out "$work/results") ms; $(memory)"
echo "  corpus documents --inline, --out: $(redis_ms "$work/docs" "$docs" --inline --out "$work/results") ms;" \
  "$(memory)"
avg=$(find "$work/docs" -name '*.docx' -printf '%s\n' | awk '{ s += $1 } END { printf "%.0f", s / NR / 1024 }')
res=$(find "$work/results" -name '*_Check.json' -printf '%s\n' | awk '{ s += $1 } END { printf "%.0f", s / NR / 1024 }')
echo "  (a corpus document averages $avg KB, its JSON result $res KB)"

# What Redis itself takes: job-sized XADDs, and the finishing script a worker
# runs per job (SET, HSETNX, XADD, XACK), from 50 clients.
echo
echo "this machine's Redis, 50 clients, no pipelining:"
rcli XGROUP CREATE bench:jobs g 0 MKSTREAM > /dev/null
redis-benchmark -p "$port" -n 100000 -c 50 -q \
  XADD bench:jobs '*' name doc.docx type 6 path /data/theses/doc.docx 2> /dev/null | tr '\r' '\n' | tail -1 |
  sed 's/.*: \([0-9.]* requests per second\)/  XADD (submit): \1/'
finish="redis.call('SET', KEYS[1], ARGV[1]) redis.call('HSETNX', KEYS[3], ARGV[3], KEYS[1])
redis.call('XADD', KEYS[2], '*', 'job', ARGV[3], 'key', KEYS[1]) return redis.call('XACK', KEYS[4], ARGV[2], ARGV[3])"
redis-benchmark -p "$port" -n 100000 -c 50 -r 100000 -q \
  EVAL "$finish" 4 bench:result:__rand_int__ bench:results bench:done bench:jobs '{"score":70}' g 1-__rand_int__ \
  2> /dev/null | tr '\r' '\n' | tail -1 |
  sed 's/.*: \([0-9.]* requests per second\)/  finishing script (per job): \1/'
