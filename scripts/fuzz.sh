#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan and UBSan) into
# build-fuzz/ (or $ORSAN_FUZZ_BUILD_DIR) and runs each for SECONDS (default
# 60), starting from its seed corpus in fuzz/corpus/<target>/. Prints each
# target's executions and executions per second. Any finding fails the run;
# its reproducer stays in build-fuzz/findings/<target>/. Copy it into
# fuzz/corpus/<target>/ once fixed: the test suite replays every corpus file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${ORSAN_FUZZ_BUILD_DIR:-$root/build-fuzz}
targets=(modbus_reply wave_stream ini_file record_open)

fuzzer_works() {
  echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' |
    clang++ -x c++ -fsanitize=fuzzer,address,undefined - -o /dev/null 2>/dev/null
}
if ! command -v clang++ >/dev/null || ! fuzzer_works; then
  echo "Installing clang and its sanitizer runtimes"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    clang libclang-rt-14-dev
fi

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DORSAN_FUZZ=ON -DORSAN_BUILD_TESTS=OFF -DORSAN_BUILD_BENCH=OFF \
  "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/%/_fuzz}"

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
printf '%-14s %12s %12s  %s\n' target executions "execs/s" result
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  findings="$build/findings/$t"
  log="$build/logs/$t.log"
  mkdir -p "$work" "$findings" "$(dirname "$log")"
  extra=()
  # The database opener reports every refused file on stderr by design.
  if [ "$t" = record_open ]; then extra=(-close_fd_mask=2); fi
  status=0
  "$build/bin/${t}_fuzz" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/" "${extra[@]}" "$work" "$root/fuzz/corpus/$t" >"$log" 2>&1 ||
    status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  result=ok
  if [ "$status" -ne 0 ]; then
    result="FINDING (exit $status), log $log"
    failed+=("$t")
  fi
  printf '%-14s %12s %12s  %s\n' "$t" "${runs:-?}" "${rate:-?}" "$result"
done

if [ ${#failed[@]} -gt 0 ]; then
  for t in "${failed[@]}"; do
    echo "== $t"
    grep -E 'property broken|ERROR|SUMMARY|runtime error|Test unit written' "$build/logs/$t.log" |
      head -20 || true
    ls "$build/findings/$t"
  done
  exit 1
fi
