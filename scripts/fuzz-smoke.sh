#!/usr/bin/env bash
# Runs every libFuzzer target in a folder for a fixed number of seconds,
# starting from its seed corpus under fuzz/corpus/<target> when present.
set -euo pipefail
dir=${1:?usage: fuzz-smoke.sh FUZZ_BUILD_DIR [SECONDS]}
seconds=${2:-15}
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
shopt -s nullglob
targets=("$dir"/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz-smoke: no fuzz targets in $dir" >&2
  exit 1
fi
for target in "${targets[@]}"; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  work=$(mktemp -d)
  seeds="$root/fuzz/corpus/$name"
  args=("$work")
  [ -d "$seeds" ] && args+=("$seeds")
  echo "fuzz-smoke: $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=0 \
       "${args[@]}" > "$work.log" 2>&1; then
    echo "fuzz-smoke: $name FAILED"; tail -n 40 "$work.log"; status=1
  else
    grep -E '^#[0-9]+.*DONE' "$work.log" | tail -n 1 || true
  fi
  rm -rf "$work" "$work.log"
done
[ $status -eq 0 ] && echo "fuzz-smoke: all ${#targets[@]} targets clean"
exit $status
