#!/usr/bin/env bash
# The include check passes on this checkout, and fails on a copy where a
# low layer includes a higher one, where a folder belongs to no layer, or
# where a layer other than the top includes the public header.
set -euo pipefail
script=$1
root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$script" "$root" > /dev/null

fails() {  # name, then the file to add and its line
  local name=$1 file=$2 line=$3
  rm -rf "$work/copy" && mkdir -p "$work/copy/cmake" "$work/copy/src"
  cp "$root/cmake/Layers.cmake" "$work/copy/cmake/"
  for dir in Utility Global Docx Segmenter KeyScanner Convert CountryDetect RUX Checker BrowseDir API; do
    mkdir -p "$work/copy/src/$dir"
  done
  echo '#include "Utility/Log.h"' > "$work/copy/src/RUX/Fine.cpp"
  mkdir -p "$(dirname "$work/copy/$file")"
  echo "$line" > "$work/copy/$file"
  if "$script" "$work/copy" 2> "$work/err"; then
    echo "FAIL: $name passed the check" >&2
    exit 1
  fi
  grep -q . "$work/err" || { echo "FAIL: $name gave no reason" >&2; exit 1; }
}

fails "Utility including RUX" src/Utility/Up.cpp '#include "RUX/RUX.h"'
fails "Docx including Checker" src/Docx/Up.h '  #  include "Checker/CheckResult.h"'
fails "RUX including the public header" src/RUX/Up.h '#include "veskar.h"'
fails "a folder in no layer" src/Orphan/Orphan.cpp '#include "Utility/Log.h"'
echo "check-layers: all cases behave"
