#!/usr/bin/env bash
# Makes docs/station.png: the station window on its overview, with six
# simulated and named machines (one pushed into zone D, one silent), drawn
# in a virtual X display.
# Needs xvfb (Xvfb, xvfb-run) and imagemagick (import) besides what
# scripts/setup.sh installs; it installs them when they are missing.
# Usage: station-picture.sh [OUT.png]   (default docs/station.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/station.png}")
build=${ORSAN_BUILD_DIR:-$root/build}

need=()
command -v xvfb-run >/dev/null || need+=(xvfb)
command -v import >/dev/null || need+=(imagemagick)
if [ ${#need[@]} -gt 0 ]; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${need[@]}"
fi
"$root/scripts/build.sh" --target orsan-monitor orsan-sensor-sim

work=$(mktemp -d)
sim=
trap '[ -n "$sim" ] && kill "$sim" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

# Ephemeral ports: the picture never competes with a running demo. Every
# sensor gets its own port, so the simulator is asked for them one by one.
mkfifo "$work/sim-in"
args=()
for n in 1 2 3 4 5 6; do args+=(--sensor "127.0.0.$n:0/0"); done
"$build/bin/orsan-sensor-sim" "${args[@]}" < "$work/sim-in" > "$work/sim-out" 2>&1 &
sim=$!
exec 3> "$work/sim-in"
for _ in $(seq 100); do grep -q READY "$work/sim-out" && break; sleep 0.1; done
grep -q READY "$work/sim-out" || { cat "$work/sim-out" >&2; exit 1; }

names=("P-101 给水泵" "P-102 给水泵" "F-201 引风机" "C-301 压缩机" "M-401 搅拌机" "G-501 齿轮箱")
{
  printf '[DAQ]\r\nINTERVAL=1.0\r\n[SENSOR]\r\n'
  for n in 1 2 3 4 5 6; do
    # "127.0.0.3:40123" on the READY line
    port=$(grep -o "127\.0\.0\.$n:[0-9]*" "$work/sim-out" | head -1 | cut -d: -f2)
    printf 'ID%dIP1=127\r\nID%dIP2=0\r\nID%dIP3=0\r\nID%dIP4=%d\r\nID%dPORT=%d\r\nID%dNAME=%s\r\n' \
      "$n" "$n" "$n" "$n" "$n" "$n" "$port" "$n" "${names[$((n - 1))]}"
  done
} > "$work/Config.ini"
# Large machines on rigid foundations: the simulated 2-3 mm/s grade A or B;
# the compressor is a medium machine (2R), where 3.6 mm/s is zone C.
{
  for n in 1 2 3 5 6; do printf '[ID%d]\r\nCLASS=1R\r\nDELAY=1\r\n' "$n"; done
  printf '[ID4]\r\nCLASS=2R\r\nDELAY=1\r\n'
} > "$work/Alarm.ini"

# The compressor runs rough (zone C), the gearbox worse (zone D), and the
# mixer's sensor goes silent.
echo "velocity 4 3.2 3.6 2.9" >&3
echo "velocity 6 6.8 7.9 5.1" >&3
echo "fault 5 silent" >&3

xvfb-run -a -s "-screen 0 1100x800x24" bash -c '
  "$1" --data-dir "$2" &
  station=$!
  for _ in $(seq 100); do
    xwininfo -root -tree 2>/dev/null | grep -q "ModbusTcp" && break
    sleep 0.1
  done
  # Long enough for readings, the zones and the alarm delays.
  sleep 8
  import -window root -crop "$(xwininfo -root -tree | grep ModbusTcp | head -1 |
    sed -E "s/.* ([0-9]+)x([0-9]+)\+[-0-9]+\+[-0-9]+ +\+([0-9]+)\+([0-9]+).*/\1x\2+\3+\4/")" "$3"
  kill "$station"
  wait "$station" || true
' _ "$build/bin/orsan-monitor" "$work" "$out"
echo "$out"
