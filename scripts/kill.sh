#!/usr/bin/env bash
# The kill-while-recording test at scale: COUNT (default 100) SIGKILLs of the
# headless recorder at random moments; reports integrity and rows kept.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-100}
build=${ORSAN_BUILD_DIR:-$root/build}
"$root/scripts/build.sh" --target integration_record_kill orsan-monitor orsan-sensor-sim >/dev/null
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
ORSAN_KILL_CYCLES=$count "$build/bin/integration_record_kill" --gtest_brief=1
