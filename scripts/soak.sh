#!/usr/bin/env bash
# Soak: the headless recorder for MINUTES (default 15) against the simulator
# with four sensors: one healthy, one flapping, one silent and one splitting
# its replies. Every 30 s it samples the recorder's memory (RSS), open
# descriptors and threads. Fails when, after the first minute, memory grows by
# more than 1 MB or descriptors or threads grow at all, or when a printed row
# is missing from DataRecord.db. Not part of CI: it takes its time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
minutes=${1:-15}
build=${ORSAN_BUILD_DIR:-$root/build}
"$root/scripts/build.sh" --target orsan-monitor orsan-sensor-sim >/dev/null
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

work=$(mktemp -d /tmp/orsan-soak.XXXXXX)
sim_pid="" station_pid=""
cleanup() {
  [ -n "$station_pid" ] && kill "$station_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

# The simulator keeps running while its stdin stays open: feed it a fifo.
mkfifo "$work/sim.in"
"$build/bin/orsan-sensor-sim" --wave-port 0 --flap-period 5000 \
  --sensor 127.0.0.1:0 --sensor 127.0.0.2:0 --sensor 127.0.0.3:0 --sensor 127.0.0.4:0 \
  --fault 2=flap --fault 3=silent --fault 4=split <"$work/sim.in" >"$work/sim.out" 2>&1 &
sim_pid=$!
exec 3>"$work/sim.in"
for _ in $(seq 100); do
  grep -q '^READY' "$work/sim.out" && break
  sleep 0.1
done
ready=$(grep '^READY' "$work/sim.out") || { echo "simulator not ready"; cat "$work/sim.out"; exit 1; }

{
  printf '[DAQ]\nINTERVAL=1.0\n[SENSOR]\n'
  for entry in ${ready#READY }; do  # n=ADDR:PORT/WAVEPORT
    n=${entry%%=*}
    rest=${entry#*=}
    address=${rest%%:*}
    port=${rest#*:}
    port=${port%%/*}
    IFS=. read -r a b c d <<<"$address"
    printf 'ID%sIP1=%s\nID%sIP2=%s\nID%sIP3=%s\nID%sIP4=%s\nID%sPORT=%s\n' \
      "$n" "$a" "$n" "$b" "$n" "$c" "$n" "$d" "$n" "$port"
  done
} >"$work/Config.ini"

seconds=$((minutes * 60))
"$build/bin/orsan-monitor" --headless --record --data-dir "$work" --duration "$seconds" \
  >"$work/lines.jsonl" 2>"$work/station.err" &
station_pid=$!

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$station_pid/status"; }
fds() { find "/proc/$station_pid/fd" -mindepth 1 -maxdepth 1 | wc -l; }
threads() { awk '/^Threads:/ {print $2}' "/proc/$station_pid/status"; }

# Each sample is the lowest of the looks every 0.5 s over its 30 s: a poll visit holds a
# socket open for a moment, a leak holds it for good.
printf '%6s %10s %5s %8s %6s\n' second rss_kB fds threads rows
base_rss="" base_fds="" base_threads="" failed=0
started=$SECONDS
elapsed=0
while kill -0 "$station_pid" 2>/dev/null; do
  rss="" fd="" th=""
  window_end=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$window_end" ]; do
    sleep 0.5
    kill -0 "$station_pid" 2>/dev/null || break 2
    r=$(rss_kb) f=$(fds) t=$(threads)
    if [ -z "$rss" ] || [ "$r" -lt "$rss" ]; then rss=$r; fi
    if [ -z "$fd" ] || [ "$f" -lt "$fd" ]; then fd=$f; fi
    if [ -z "$th" ] || [ "$t" -lt "$th" ]; then th=$t; fi
  done
  elapsed=$((SECONDS - started))
  printf '%6s %10s %5s %8s %6s\n' "$elapsed" "$rss" "$fd" "$th" "$(wc -l <"$work/lines.jsonl")"
  if [ "$elapsed" -lt 60 ]; then continue; fi
  if [ -z "$base_rss" ]; then
    base_rss=$rss base_fds=$fd base_threads=$th
    continue
  fi
  if [ $((rss - base_rss)) -gt 1024 ]; then echo "memory grew by $((rss - base_rss)) kB"; failed=1; fi
  if [ "$fd" -gt "$base_fds" ]; then echo "descriptors grew: $base_fds -> $fd"; failed=1; fi
  if [ "$th" -gt "$base_threads" ]; then echo "threads grew: $base_threads -> $th"; failed=1; fi
done

wait "$station_pid" || { echo "the recorder ended with an error"; cat "$work/station.err"; failed=1; }
station_pid=""

# Every printed line is followed by its row: the same times, none missing.
grep -o '"time":[0-9]*,"ms":[0-9]*' "$work/lines.jsonl" | sed 's/"time":\([0-9]*\),"ms":\([0-9]*\)/\1|\2/' \
  >"$work/printed.txt"
sqlite3 "$work/DataRecord.db" 'SELECT Time, msTime FROM data ORDER BY rowid' >"$work/stored.txt"
missing=$(comm -23 <(sort "$work/printed.txt") <(sort "$work/stored.txt") | wc -l)
echo "rows printed $(wc -l <"$work/printed.txt"), stored $(wc -l <"$work/stored.txt"), missing $missing"
if [ "$missing" -ne 0 ] || [ ! -s "$work/printed.txt" ]; then failed=1; fi

if [ "$failed" -ne 0 ]; then
  echo "SOAK FAILED (files kept in $work)"
  trap - EXIT
  cleanup
  exit 1
fi
rm -rf "$work"
echo "soak passed"
