#!/usr/bin/env bash
# Fails when a source file includes a header of a higher layer. The layers
# and their folders are read from cmake/Layers.cmake, the same list the build
# links by, so the two can never disagree. The public header "veskar.h"
# belongs to the top layer: only the exported functions include it.
# Usage: scripts/check-layers.sh [SOURCE_ROOT]   (default: this checkout)
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

layers_file=cmake/Layers.cmake
declare -A rank=()
order=$(sed -n 's/^set(VESKAR_LAYERS \(.*\))$/\1/p' "$layers_file")
if [ -z "$order" ]; then
  echo "check-layers: no VESKAR_LAYERS in $layers_file" >&2
  exit 2
fi
n=0
top=0
for layer in $order; do
  dirs=$(sed -n "s/^set(VESKAR_LAYER_DIRS_${layer} \(.*\))$/\1/p" "$layers_file")
  for dir in $dirs; do
    rank[$dir]=$n
  done
  top=$n
  n=$((n + 1))
done

status=0
for path in src/*/; do
  dir=$(basename "$path")
  if [ -z "${rank[$dir]+set}" ]; then
    echo "check-layers: src/$dir is in no layer of $layers_file" >&2
    status=1
  fi
done

# Every '#include "Folder/..."' and '#include "veskar.h"' in the sources.
ranks=""
for dir in "${!rank[@]}"; do
  ranks="$ranks $dir=${rank[$dir]}"
done
grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' src --include='*.h' --include='*.cpp' |
  awk -v ranks="$ranks" -v top="$top" '
    BEGIN { n = split(ranks, pairs, " "); for (i = 1; i <= n; i++) { split(pairs[i], kv, "="); rank[kv[1]] = kv[2] } }
    {
      split($0, parts, ":"); file = parts[1]; line = parts[2]
      split(file, path, "/"); from = path[2]
      if (!(from in rank)) next
      if (!match($0, /"[^"]*"/)) next
      target = substr($0, RSTART + 1, RLENGTH - 2)
      if (target == "veskar.h") to = top
      else if (index(target, "/") > 0) {
        split(target, t, "/")
        if (!(t[1] in rank)) next
        to = rank[t[1]]
      } else next
      if (to + 0 > rank[from] + 0) {
        printf "%s:%s: includes \"%s\", a layer above src/%s\n", file, line, target, from > "/dev/stderr"
        bad = 1
      }
    }
    END { exit bad }' || status=1

if [ "$status" -eq 0 ]; then
  echo "check-layers: no include reaches upward"
fi
exit "$status"
