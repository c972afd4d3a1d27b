#!/usr/bin/env bash
# Fails when a source file includes a header of a higher layer. The layers
# and their folders are read from cmake/Layers.cmake, the same list the build
# links by, so the two can never disagree. The public header "veskar.h"
# belongs to the top layer: only the exported functions include it.
set -euo pipefail
cd "$(dirname "$0")/.."

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
while IFS=: read -r file line text; do
  from=$(echo "$file" | cut -d/ -f2)
  [ -n "${rank[$from]+set}" ] || continue
  target=$(echo "$text" | sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p')
  case "$target" in
    veskar.h) to_rank=$top ;;
    */*)
      to=${target%%/*}
      [ -n "${rank[$to]+set}" ] || continue
      to_rank=${rank[$to]} ;;
    *) continue ;;
  esac
  if [ "$to_rank" -gt "${rank[$from]}" ]; then
    echo "$file:$line: includes \"$target\", a layer above src/$from" >&2
    status=1
  fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' src --include='*.h' --include='*.cpp')

if [ "$status" -eq 0 ]; then
  echo "check-layers: no include reaches upward"
fi
exit "$status"
