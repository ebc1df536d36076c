#!/usr/bin/env bash
# Collects every translatable text of the station's folders into
# i18n/orsan_en.ts (or the .ts file given), keeping the English already
# written. Entries whose Chinese text is gone are dropped unless --keep-obsolete.
# Usage: update-translations.sh [--keep-obsolete] [TS_FILE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
obsolete=(-no-obsolete)
if [ "${1:-}" = "--keep-obsolete" ]; then obsolete=(); shift; fi
ts=$(realpath -m "${1:-$root/i18n/orsan_en.ts}")
cd "$root"
# Every product folder: a text added to any of them is found.
"$lupdate" -silent -locations none "${obsolete[@]}" -extensions cpp,h \
  -source-language zh_CN -target-language en \
  app alarm chart comm overview params record report res shell station store wave \
  -ts "$ts"
