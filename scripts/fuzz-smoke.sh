#!/usr/bin/env bash
# Runs every libFuzzer target briefly from its seeds (CI): a crash, leak or
# timeout fails. Longer runs that keep their corpus: scripts/fuzz-run.sh
# through `make fuzz-long`.
set -euo pipefail
dir=${1:?usage: fuzz-smoke.sh FUZZ_BUILD_DIR [SECONDS]}
seconds=${2:-10}
exec "$(dirname "$0")/fuzz-run.sh" "$dir" "$seconds"
