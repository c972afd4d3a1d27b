#!/usr/bin/env bash
# Documents per second through the Redis job queue (veskar submit + one
# veskar worker with 1, 2 and 4 threads) against veskar batch with the same
# threads on the same folder, and the queue's overhead per job. Starts its
# own redis-server on a free loopback port.
#   bench/queue_throughput.sh BUILD_DIR [DOCUMENT] [COPIES]
set -u
build=${1:?usage: queue_throughput.sh BUILD_DIR [DOCUMENT] [COPIES]}
doc=${2:-$build/examples/thesis.docx}
copies=${3:-48}
veskar=$build/veskar
work=$(mktemp -d)
redis_pid=""
cleanup() { [ -n "$redis_pid" ] && kill "$redis_pid" 2> /dev/null; rm -rf "$work"; }
trap cleanup EXIT
cp -r "$build/Data" "$work/Data"
mkdir -p "$work/docs"
ext=${doc##*.}
for i in $(seq 1 "$copies"); do cp "$doc" "$work/docs/doc$i.$ext"; done
port=$((20000 + RANDOM % 40000))
redis-server --port "$port" --bind 127.0.0.1 --save "" --appendonly no --dir "$work" > "$work/redis.log" 2>&1 &
redis_pid=$!
until redis-cli -p "$port" ping 2> /dev/null | grep -q PONG; do sleep 0.1; done
url="redis://127.0.0.1:$port"
now() { date +%s.%N; }

batch_seconds() {
  local start end
  start=$(now)
  "$veskar" batch "$work/docs" --threads "$1" --format json --json --data "$work" > /dev/null 2>&1
  end=$(now)
  echo "$end - $start" | bc -l
}

# From the worker's start (library start-up included, as for the batch) to
# the last result stored.
queue_seconds() {
  local start end pid
  redis-cli -p "$port" FLUSHALL > /dev/null
  "$veskar" submit "$work/docs" --redis "$url" > /dev/null
  start=$(now)
  "$veskar" worker --redis "$url" --threads "$1" --data "$work" > /dev/null 2>&1 &
  pid=$!
  until [ "$(redis-cli -p "$port" HLEN veskar:jobs:done)" -ge "$copies" ]; do sleep 0.02; done
  end=$(now)
  kill -TERM "$pid"; wait "$pid"
  echo "$end - $start" | bc -l
}

printf '%d copies of %s, %d cores\n' "$copies" "$(basename "$doc")" "$(nproc)"
printf '%-8s %12s %12s %10s %14s\n' threads "batch doc/s" "queue doc/s" overhead "ms/job extra"
for threads in 1 2 4; do
  b=$(batch_seconds "$threads")
  q=$(queue_seconds "$threads")
  printf '%-8d %12.2f %12.2f %9.1f%% %14.2f\n' "$threads" "$(echo "$copies / $b" | bc -l)" \
    "$(echo "$copies / $q" | bc -l)" "$(echo "($q - $b) * 100 / $b" | bc -l)" \
    "$(echo "($q - $b) * 1000 * $threads / $copies" | bc -l)"
done

# What Redis itself takes: XADD of a job-sized entry from 50 clients, plain
# and pipelined, on this machine.
for pipeline in 1 16; do
  redis-benchmark -p "$port" -n 200000 -c 50 -P "$pipeline" -q \
    XADD bench:jobs '*' name doc.docx type 6 path /data/theses/doc.docx 2> /dev/null |
    sed "s/^/XADD, pipeline $pipeline: /"
done
