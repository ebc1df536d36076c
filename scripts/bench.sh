#!/usr/bin/env bash
# Builds and runs every benchmark (they are never part of the tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build=${ORSAN_BUILD_DIR:-$root/build}
export QT_QPA_PLATFORM=offscreen
for b in "$build"/bin/*_bench; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" "$@"
done
