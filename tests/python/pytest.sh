#!/usr/bin/env bash
# The Python package's pytest suite on the built library, tool and data
# folder. Skipped (77) without Debian's python3 and its pytest.
set -u
library=${1:?usage: pytest.sh LIBRARY TOOL BUILD_DIR SOURCE_DIR}
tool=${2:?}
build=${3:?}
source_dir=${4:?}
python=/usr/bin/python3
"$python" -c "import pytest" 2>/dev/null || { echo "SKIP: no python3-pytest"; exit 77; }
export VESKAR_LIBRARY=$library VESKAR_TOOL=$tool VESKAR_DATA=$build \
  VESKAR_EXAMPLE=$build/examples/thesis.docx VESKAR_CORPUS=$source_dir/../shared/corpus \
  PYTHONDONTWRITEBYTECODE=1
exec "$python" -m pytest -q -p no:cacheprovider "$source_dir/python/tests"
