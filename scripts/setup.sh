#!/usr/bin/env bash
# Installs every Debian package the station, its simulator, tests and
# benchmarks need. Safe to run again: it installs only what is missing.
set -euo pipefail

# One line per user; nothing here that no build, test, benchmark or run
# needs. The OpenGL headers Qt's CMake files look for come with qt6-base-dev.
packages=(
  cmake g++ make pkg-config             # the build
  ccache                                # scripts/build.sh compiles through it when present
  qt6-base-dev qt6-base-dev-tools       # Qt Core/Gui/Widgets/Sql/Test, moc and rcc
  qt6-svg-dev                           # the pictures are SVG (res/)
  qt6-multimedia-dev                    # the alarm tone (alarm/AlarmTone.cpp)
  qt6-l10n-tools                        # lupdate/lrelease: the English translation (i18n/)
  qt6-tools-dev                         # Qt6LinguistTools for CMake: qt_add_lrelease (station/)
  qt6-translations-l10n                 # Qt's own dialogs and menus in Chinese (station/Language.cpp)
  libqt6sql6-sqlite                     # the record database driver
  libmodbus-dev                         # comm/ and the simulator
  libfftw3-dev                          # wave/'s spectra and envelope (FFTW3)
  libgtest-dev                          # tests/
  libbenchmark-dev                      # bench/
  sqlite3                               # bench/record compares its export with the sqlite3 dump
  fonts-noto-cjk fonts-liberation2      # the dialog font (shell/DialogUnits.cpp) and its fallback
  libsqlite3-dev                        # store/ reads the record database through the SQLite C API
  postgresql libpq-dev                  # store/ and its tests (a private cluster)
  dpkg-dev lintian desktop-file-utils   # scripts/package.sh and the packaging checks
  appstream systemd man-db              # the packaging checks validate the installed files
  poppler-utils                         # pdftoppm: the daily report's pages are checked as pictures
  tzdata                                # zone rules: local times the clocks skip or show twice (tests/station)
  python3-pymodbus python3-serial-asyncio  # an independent Modbus peer (tests/integration/pymodbus)
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
