#!/usr/bin/env bash
# Runs every libFuzzer target in a folder for a fixed number of seconds each,
# one after another on one core, and prints each target's rate.
#
#   fuzz-run.sh FUZZ_BUILD_DIR SECONDS [CORPUS_DIR]
#
# Each target starts from its seeds under fuzz/seeds/<target> and takes its
# options (max_len, dict, ...) from fuzz/<target>.options, written as
# "key = value" lines under "[libfuzzer]" the way OSS-Fuzz reads them.
# With CORPUS_DIR, what a target finds is kept in CORPUS_DIR/<target> for
# the next run and crashing inputs are saved there; without it both go to a
# temporary folder that is removed. FUZZ_JOBS runs that many targets at
# once. A target that falls below FUZZ_MIN_RATE executions a second (default
# 1000) is named in the summary; a crash, leak or timeout fails the run.
set -euo pipefail
dir=${1:?usage: fuzz-run.sh FUZZ_BUILD_DIR SECONDS [CORPUS_DIR]}
seconds=${2:?usage: fuzz-run.sh FUZZ_BUILD_DIR SECONDS [CORPUS_DIR]}
keep=${3:-}
min_rate=${FUZZ_MIN_RATE:-1000}
root=$(cd "$(dirname "$0")/.." && pwd)

shopt -s nullglob
targets=("$dir"/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no fuzz targets in $dir" >&2
  exit 1
fi

# Prints the libFuzzer flags of a target's options file, one a line.
read_options() {
  local file=$1 section="" line key value
  [ -f "$file" ] || return 0
  while IFS= read -r line || [ -n "$line" ]; do
    line=${line%%#*}
    line=$(echo "$line" | sed -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//')
    [ -z "$line" ] && continue
    if [[ $line == \[*\] ]]; then
      section=${line:1:${#line}-2}
      continue
    fi
    [ "$section" = libfuzzer ] || continue
    key=$(echo "${line%%=*}" | sed 's/[[:space:]]*$//')
    value=$(echo "${line#*=}" | sed 's/^[[:space:]]*//')
    # A dictionary is named relative to the fuzz folder.
    [ "$key" = dict ] && value="$root/fuzz/$value"
    echo "-$key=$value"
  done < "$file"
}

jobs_at_once=${FUZZ_JOBS:-1}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Runs one target into $scratch/NAME.log and records its exit status in
# $scratch/NAME.status (it never fails itself, so runs can go side by side).
run_target() {
  local target=$1 name work artifacts log
  name=$(basename "$target")
  if [ -n "$keep" ]; then
    work="$keep/$name"
    artifacts="$keep/crashes/$name-"
    mkdir -p "$work" "$keep/crashes"
  else
    work="$scratch/$name"
    artifacts="$scratch/$name-"
    mkdir -p "$work"
  fi
  local args=("$work") options
  [ -d "$root/fuzz/seeds/$name" ] && args+=("$root/fuzz/seeds/$name")
  mapfile -t options < <(read_options "$root/fuzz/$name.options")
  log="$scratch/$name.log"
  echo "fuzz: $name for ${seconds}s ${options[*]}"
  # -print_funcs=0: naming each newly reached function starts the symbolizer,
  # which costs short runs a good part of their time.
  if "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 -print_funcs=0 \
       -artifact_prefix="$artifacts" "${options[@]}" "${args[@]}" > "$log" 2>&1; then
    echo 0 > "$scratch/$name.status"
  else
    echo 1 > "$scratch/$name.status"
  fi
}

# FUZZ_JOBS targets at a time (default one, which keeps the rates comparable).
names=()
for target in "${targets[@]}"; do
  [ -x "$target" ] && [ -f "$target" ] || continue
  while [ "$(jobs -rp | wc -l)" -ge "$jobs_at_once" ]; do
    wait -n || true
  done
  run_target "$target" &
  names+=("$(basename "$target")")
done
wait

status=0
slow=()
summary=()
for name in "${names[@]}"; do
  log="$scratch/$name.log"
  if [ "$(cat "$scratch/$name.status" 2>/dev/null)" != 0 ]; then
    echo "fuzz: $name FAILED"
    tail -n 40 "$log"
    status=1
    # The summary is what the end of a long CI log shows: give the reason and
    # the seed that reproduces the run (-seed=N) there too.
    reason=$(grep -m 1 -oE '(ERROR: [A-Za-z]+: .*|runtime error: .*|SUMMARY: .*)' "$log" || true)
    seed=$(grep -m 1 -oE 'Seed: [0-9]+' "$log" | cut -d' ' -f2 || true)
    summary+=("$(printf '%-26s FAILED (seed %s): %s' "$name" "${seed:-?}" "${reason:-see its log above}")")
    continue
  fi
  runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log")
  rate=$(( ${runs:-0} / seconds ))
  edges=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
  slowest=$(awk '/stat::slowest_unit_time_sec/ {print $2}' "$log")
  rss=$(awk '/stat::peak_rss_mb/ {print $2}' "$log")
  summary+=("$(printf '%-26s %9s runs %7s exec/s %6s edges %3ss slowest %5s MB' "$name" "${runs:-0}" "$rate" \
    "${edges:-0}" "${slowest:-?}" "${rss:-?}")")
  [ "$rate" -lt "$min_rate" ] && slow+=("$name")
done

echo "fuzz: summary (${seconds}s each, $jobs_at_once at a time)"
printf '  %s\n' "${summary[@]}"
if [ ${#slow[@]} -gt 0 ]; then
  echo "fuzz: below $min_rate exec/s: ${slow[*]} (a busy machine slows every target)"
fi
[ $status -eq 0 ] && echo "fuzz: all targets clean"
exit $status
