#!/usr/bin/env bash
# Installs every Debian package the project builds, tests, fuzzes and
# benchmarks with. Idempotent: packages already present are skipped.
set -euo pipefail

packages=(
  # build and test
  g++ clang libclang-rt-14-dev cmake make pkg-config googletest libgtest-dev libbenchmark-dev
  # libraries the library links
  libjsoncpp-dev zlib1g-dev libminizip-dev libcurl4-openssl-dev libuchardet-dev
  # the search service's standards catalogue (SQLite with FTS5)
  libsqlite3-dev
  # the build-time reader of the compressed character readings
  libbz2-dev
  # the job queue of veskar submit/worker/status, and its tests
  libhiredis-dev redis-server libssl-dev
  # data the build compiles: segmenter core dictionary, English words
  python3-jieba wamerican
  # character readings of the spelling service
  unicode-data
  # converters for other input formats (.doc/.wps/.rtf/.odt, .pdf)
  libreoffice-writer-nogui poppler-utils
  # browser tests of the HTML pages (they are skipped without it)
  chromium
  # the Python package's tests and its pip install; the Debian package (cpack's
  # dependency list needs dpkg-shlibdeps and file)
  python3-pytest python3-venv python3-setuptools python3-wheel python3-pip dpkg-dev file
  # reference peers for benchmarks
  python3-docx pandoc darts libdatrie-dev libmarisa-dev hyperfine
  # timing in the queue benchmark
  time bc
)

missing=()
for pkg in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
