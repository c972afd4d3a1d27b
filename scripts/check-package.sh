#!/usr/bin/env bash
# Unpacks the built Debian package into a scratch root (the system is left
# as it is) and uses it as an installed copy would be used: its declared
# dependencies are installed here, the tool checks a short text and the
# example thesis with the data folder it finds by itself, as a user who
# cannot write there, the Python package runs on the packaged library, and
# a C program builds against the header through veskar.pc.
# usage: scripts/check-package.sh [BUILD_DIR [DEB]]
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
deb=${2:-$(ls -t "$build"/package/veskar_*.deb 2>/dev/null | head -1 || true)}
[ -n "$deb" ] && [ -f "$deb" ] || { echo "check-package: no package in $build/package (make package)" >&2; exit 1; }
example="$build/examples/thesis.docx"

root=$(mktemp -d)
trap 'chmod -R u+w "$root"; rm -rf "$root"' EXIT
chmod 755 "$root"
fail() { echo "check-package: $*" >&2; exit 1; }

echo "check-package: $(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libjsoncpp libminizip libcurl libuchardet libstdc++; do
  [[ $depends == *$lib* ]] || fail "Depends lacks $lib: $depends"
done
# Every declared dependency is a package this machine has, so it installs here.
for dep in $(tr ',' '\n' <<<"$depends" | sed 's/(.*)//; s/|.*//' | tr -d ' '); do
  dpkg-query -W -f='${Status}' "$dep" 2>/dev/null | grep -q 'install ok installed' \
    || fail "dependency $dep is not installed here"
done

dpkg -x "$deb" "$root"
libdir=$(dirname "$(find "$root/usr" -name 'libveskar.so.*' -print -quit)")
for file in usr/bin/veskar usr/include/veskar.h usr/share/veskar/Data/RUX-Configure.json; do
  [ -e "$root/$file" ] || fail "missing /$file"
done
[ -e "$libdir/pkgconfig/veskar.pc" ] || fail "missing veskar.pc"

# The tool loads the packaged library (through its run path), not another.
ldd "$root/usr/bin/veskar" | grep -q "libveskar.so.* => $root/" || fail "the tool does not load the packaged library"

# Checks that write nothing into the installed data folder: no --data, no
# $VESKAR_DATA; the tool finds <prefix>/share/veskar/Data from <prefix>/bin.
work="$root/work"
mkdir -p "$work"
cp "$example" "$work/thesis.docx"
printf '%s\n' "道路裂缝检测方法研究" "摘要：本文研究了道路裂缝的自动检测方法，实验结果表明，准确率达到95%。" \
  "1 引言" "道路裂缝是路面病害的早期表现，及时发现可以降低养护费用。" > "$work/note.txt"
chmod -R a-w "$root/usr"
chmod 777 "$work"
as_user=()
if [ "$(id -u)" -eq 0 ]; then as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups); fi
packaged_check() {
  (cd "$work" && env -u VESKAR_DATA -u VESKAR_LOG_DIR -u LD_LIBRARY_PATH "${as_user[@]}" \
    "$root/usr/bin/veskar" check "$@") || fail "veskar check $* failed"
}
for document in note.txt thesis.docx; do
  out=$(packaged_check "$document")
  grep -q "^score:" <<<"$out" || fail "no score for $document in: $out"
  [ -f "$work/${document%.*}_Check.xml" ] || fail "no result file for $document"
  echo "$out" | head -n 2
done

# The Python package (from the source tree) finds the data folder from the
# packaged library's place.
python=/usr/bin/python3
if [ -x "$python" ]; then
  mkdir -p "$work/py" && cp "$example" "$work/py/thesis.docx"
  chmod 777 "$work/py"
  count=$(cd "$work" && env -u VESKAR_DATA PYTHONDONTWRITEBYTECODE=1 PYTHONPATH="$source_dir/python" \
    VESKAR_LIBRARY="$libdir/libveskar.so" VESKAR_LOG_DIR="$work/py" "${as_user[@]}" "$python" -c 'import veskar; print(len(veskar.check("py/thesis.docx").findings))') \
    || fail "the Python package cannot check with the packaged library"
  [ "$count" -gt 0 ] || fail "the Python package found nothing"
  echo "python:    $count findings"
fi

# The header and veskar.pc are enough to build and link a program.
cat > "$work/version.c" <<'C'
#include <stdio.h>
#include <string.h>
#include <veskar.h>
int main(void) { puts(VESKAR_LibVersion()); return strcmp(VESKAR_LibVersion(), VESKAR_VERSION) != 0; }
C
flags=$(PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --cflags --libs veskar)
cc -o "$work/version" "$work/version.c" $flags
LD_LIBRARY_PATH="$libdir" "$work/version" >/dev/null || fail "the library's version is not the header's"
echo "check-package: ok"
