#!/usr/bin/env bash
# Checks the example safety report's cited standards against the search
# service: starts `veskar searchd` on a free loopback port over the build's
# catalogue, points SearchAgent.xml of a copy of the data folder at it,
# checks the report as a safety report (type 4), prints the findings and
# stops the service. The build's own data folder is left as it is.
# Usage: scripts/demo-standards.sh [BUILD_DIR]   (default: build)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
demo=$build/demo-standards
veskar=$build/veskar

rm -rf "$demo" && mkdir -p "$demo"
cp -r "$build/Data" "$demo/Data"
cp "$build/examples/safety_report.docx" "$demo/safety_report.docx"

"$veskar" searchd --port 0 --data "$build" >"$demo/searchd.out" 2>&1 &
searchd=$!
trap 'kill "$searchd" 2>/dev/null; wait "$searchd" 2>/dev/null || true' EXIT

port=""
for _ in $(seq 50); do
  port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$demo/searchd.out")
  [ -n "$port" ] && break
  kill -0 "$searchd" 2>/dev/null || break
  sleep 0.2
done
if [ -z "$port" ]; then
  echo "demo-standards: the search service did not start:" >&2
  cat "$demo/searchd.out" >&2
  exit 1
fi
cat "$demo/searchd.out"

cat >"$demo/Data/SearchAgent.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<SearchAgent>
  <TiaowenServerIP>127.0.0.1</TiaowenServerIP>
  <TiaowenPort>$port</TiaowenPort>
  <ArgumentServerIP>127.0.0.1</ArgumentServerIP>
  <ArgumentPort>$port</ArgumentPort>
  <TimeoutSeconds>10</TimeoutSeconds>
</SearchAgent>
XML

"$veskar" check "$demo/safety_report.docx" --type 4 --data "$demo" --log-dir "$demo"
