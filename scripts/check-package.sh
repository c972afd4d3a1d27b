#!/usr/bin/env bash
# Unpacks the built Debian package into a scratch root (the system is left
# as it is) and uses it as an installed copy would be used: the tool checks
# the example thesis with the data folder it finds by itself, as a user who
# cannot write there, and a C program builds against the header through
# veskar.pc and runs with the library.
# usage: scripts/check-package.sh [BUILD_DIR]
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
deb=$(ls -t "$build"/package/veskar_*.deb 2>/dev/null | head -1 || true)
[ -n "$deb" ] || { echo "check-package: no package in $build/package (make package)" >&2; exit 1; }
example="$build/examples/thesis.docx"

root=$(mktemp -d)
trap 'chmod -R u+w "$root"; rm -rf "$root"' EXIT
chmod 755 "$root"
fail() { echo "check-package: $*" >&2; exit 1; }

echo "check-package: $(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libjsoncpp libminizip zlib1g libcurl libuchardet; do
  [[ $depends == *$lib* ]] || fail "Depends lacks $lib: $depends"
done

dpkg -x "$deb" "$root"
libdir=$(dirname "$(find "$root/usr" -name 'libveskar.so.*' -print -quit)")
for file in usr/bin/veskar usr/include/veskar.h usr/share/veskar/Data/RUX-Configure.json; do
  [ -e "$root/$file" ] || fail "missing /$file"
done
[ -e "$libdir/pkgconfig/veskar.pc" ] || fail "missing veskar.pc"

# The tool loads the packaged library (through its run path), not another.
ldd "$root/usr/bin/veskar" | grep -q "libveskar.so.* => $root/" || fail "the tool does not load the packaged library"

# A check that writes nothing into the installed data folder.
work="$root/work"
mkdir -p "$work" && cp "$example" "$work/thesis.docx"
chmod -R a-w "$root/usr"
chmod 777 "$work"
as_user=()
if [ "$(id -u)" -eq 0 ]; then as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups); fi
out=$(cd "$work" && env -u VESKAR_DATA -u VESKAR_LOG_DIR "${as_user[@]}" "$root/usr/bin/veskar" check thesis.docx) \
  || fail "veskar check failed"
grep -q "^score:" <<<"$out" || fail "no score in: $out"
[ -f "$work/thesis_Check.xml" ] || fail "no result file"
echo "$out" | head -n 2

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
