#!/usr/bin/env bash
# Builds the Debian package into a scratch folder and checks it unpacked
# (scripts/check-package.sh). Skipped (77) without the Debian packaging tools.
set -euo pipefail
build=${1:?usage: package_test.sh BUILD_DIR SOURCE_DIR}
source_dir=${2:?}
for tool in cpack dpkg-deb dpkg-shlibdeps file pkg-config cc; do
  command -v "$tool" >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# Not build/package: a `make package` running meanwhile keeps its own.
(cd "$build" && cpack -G DEB -B "$out" -D CPACK_OUTPUT_FILE_PREFIX="$out" > "$out/cpack.log" 2>&1) \
  || { cat "$out/cpack.log"; echo "FAIL: cpack"; exit 1; }
"$source_dir/scripts/check-package.sh" "$build" "$(ls "$out"/veskar_*.deb)"
