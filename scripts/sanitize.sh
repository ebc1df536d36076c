#!/usr/bin/env bash
# Sanitizer runs, each in a build folder of its own (benchmarks left out):
#  1. the whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer
#     (build-asan/, or $ORSAN_ASAN_BUILD_DIR), run through CTest;
#  2. the Qt-free core's tests (communication, waveform capture, simulator,
#     polling against the simulator) with ThreadSanitizer (build-tsan/, or
#     $ORSAN_TSAN_BUILD_DIR), $ORSAN_TSAN_REPEAT times (default 3) in shuffled
#     order. Qt from Debian is not instrumented, so nothing with Qt runs here.
# `scripts/sanitize.sh asan` or `scripts/sanitize.sh tsan` runs one of them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
which=${1:-all}
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

configure() {  # folder sanitizers
  # -O1 keeps the stacks readable and the build shorter than -O2.
  cmake -S "$root" -B "$1" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
    -DORSAN_SANITIZE="$2" -DORSAN_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
}

run_asan() {
  local build=${ORSAN_ASAN_BUILD_DIR:-$root/build-asan}
  configure "$build" address,undefined
  cmake --build "$build" -j "$(nproc)"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp
  (cd "$build" && ctest --output-on-failure -j "$(nproc)" --timeout 900)
}

run_tsan() {
  local build=${ORSAN_TSAN_BUILD_DIR:-$root/build-tsan}
  local tests=(comm_tests wave_tests sim_tests integration_polling)
  configure "$build" thread
  cmake --build "$build" -j "$(nproc)" --target "${tests[@]}" orsan-sensor-sim
  export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
  for t in "${tests[@]}"; do
    echo "== $t (ThreadSanitizer, ${ORSAN_TSAN_REPEAT:-3} shuffled runs)"
    "$build/bin/$t" --gtest_repeat="${ORSAN_TSAN_REPEAT:-3}" --gtest_shuffle --gtest_brief=1
  done
}

case "$which" in
  asan) run_asan ;;
  tsan) run_tsan ;;
  all) run_asan; run_tsan ;;
  *) echo "usage: $0 [asan|tsan|all]" >&2; exit 2 ;;
esac
