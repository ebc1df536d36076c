#!/usr/bin/env bash
# Installs what is missing, builds, starts six simulated sensors on
# 127.0.0.1 .. 127.0.0.6 and runs the station against them. Without a display
# the station runs headless and prints one JSON line per record interval.
# Extra arguments go to the station (e.g. --duration 10 when headless).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" --target orsan-monitor orsan-sensor-sim
build=${ORSAN_BUILD_DIR:-$root/build}
demo=${ORSAN_DEMO_DIR:-$root/demo-data}
port=${ORSAN_DEMO_PORT:-15020}

mkdir -p "$demo"
if [ ! -f "$demo/Config.ini" ]; then
  {
    printf '[DAQ]\r\nINTERVAL=1.0\r\n[SENSOR]\r\n'
    for n in 1 2 3 4 5 6; do
      printf 'ID%dIP1=127\r\nID%dIP2=0\r\nID%dIP3=0\r\nID%dIP4=%d\r\nID%dPORT=%d\r\n' \
        "$n" "$n" "$n" "$n" "$n" "$n" "$port"
    done
  } > "$demo/Config.ini"
fi

# The demo shows every curve; a new installation starts with none switched on.
if [ ! -f "$demo/Chart.ini" ]; then
  for n in 1 2 3 4 5 6; do
    printf '[CH%d]\r\nTMin=0.0\r\nTMax=80.0\r\nAMax=5.0\r\nVMax=10.0\r\nDMax=100.0\r\n' "$n"
    for k in 0 1 2 3 4 5 6 7 8 9; do printf 'SHOW%d=1\r\n' "$k"; done
  done > "$demo/Chart.ini"
fi
# The simulated machines run near 3 mm/s: large machines on rigid
# foundations (class 1R) grade them B, as a healthy plant would look.
if [ ! -f "$demo/Alarm.ini" ]; then
  for n in 1 2 3 4 5 6; do printf '[ID%d]\r\nCLASS=1R\r\n' "$n"; done > "$demo/Alarm.ini"
fi

# The first free Modbus port from the wanted one on: another demo or program
# may already listen there. The simulator exits at once when it cannot bind,
# naming the address and port; a taken waveform port cannot be moved (the
# station's waveform dialog always asks port 22010), so that ends the demo.
ready=$(mktemp)
simerr=$(mktemp)
sim=
trap '[ -n "$sim" ] && kill "$sim" 2>/dev/null; wait 2>/dev/null; rm -f "$ready" "$simerr"' EXIT
wave_port=22010
wanted=$port

# ", held by NAME (pid N)" when ss can tell who listens on the port, else nothing.
holder() {
  local users
  users=$(ss -Hltnp "sport = :$1" 2>/dev/null | grep -o 'users:(("[^"]*",pid=[0-9]*' | head -1) || true
  [ -n "$users" ] && printf ', held by %s (pid %s)' \
    "$(sed -E 's/.*\(\("([^"]*)".*/\1/' <<<"$users")" "${users##*pid=}"
}

for _ in $(seq 20); do
  : > "$ready"
  "$build/bin/orsan-sensor-sim" --sensors 6 --port "$port" --wave-port "$wave_port" \
    --state-file "$demo/sim-state.ini" > "$ready" 2> "$simerr" &
  sim=$!
  for _ in $(seq 100); do
    grep -q READY "$ready" && break
    kill -0 "$sim" 2>/dev/null || break
    sleep 0.1
  done
  grep -q READY "$ready" && break
  kill "$sim" 2>/dev/null || true
  wait "$sim" 2>/dev/null || true
  sim=
  # "cannot listen on 127.0.0.3:22010: Address already in use"
  busy=$(sed -n -E 's/.*cannot listen on ([0-9.]+):([0-9]+): (.*)/\1 \2 \3/p' "$simerr" | head -1)
  read -r busy_address busy_port busy_reason <<<"$busy" || true
  if [ "${busy_port:-}" = "$wave_port" ]; then
    echo "the waveform port $wave_port on $busy_address is taken ($busy_reason)$(holder \
      "$wave_port"); the station's waveform dialog needs that port: stop that program and" \
      "run this again" >&2
    exit 1
  fi
  if [ "${busy_port:-}" != "$port" ]; then
    cat "$simerr" >&2
    echo "the sensor simulator did not start" >&2
    exit 1
  fi
  echo "the Modbus port $port on $busy_address is taken$(holder "$port"); trying $((port + 1))" \
    >&2
  port=$((port + 1))
done
if [ -z "$sim" ]; then
  echo "no free Modbus port from $wanted to $((port - 1)) for the simulated sensors" >&2
  exit 1
fi
# What the simulator says, now and later (state file trouble), still shows.
tail -n +1 -f --pid="$sim" "$simerr" >&2 &
if [ "$port" != "$wanted" ]; then
  echo "port $wanted is taken; the simulated sensors listen on $port" >&2
fi
# The demo's sensors follow the simulator to whatever port it got.
sed -i -E "s/^(ID[1-6]PORT=)[0-9]+/\1$port/" "$demo/Config.ini"
echo "simulated sensors: $(cat "$ready")"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  "$build/bin/orsan-monitor" --data-dir "$demo" "$@"
else
  echo "no display: running headless (Ctrl+C ends it)" >&2
  "$build/bin/orsan-monitor" --headless --data-dir "$demo" "$@"
fi
