#!/usr/bin/env bash
# Installs every Debian package the station, its simulator, tests and
# benchmarks need. Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6svg6-dev qt6-svg-dev
  libgl1-mesa-dev
  libmodbus-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  sqlite3
  fonts-liberation2 fonts-noto-cjk
  xvfb xauth
  mbpoll
  dpkg-dev lintian desktop-file-utils appstream systemd man-db
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
