#!/usr/bin/env bash
# Fails when a translatable text of the sources has no finished English in
# i18n/orsan_en.ts, or the file holds texts the sources no longer have.
# Usage: LupdateCheck.sh SOURCE_ROOT
set -euo pipefail
root=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/i18n/orsan_en.ts" "$work/orsan_en.ts"
"$root/scripts/update-translations.sh" --keep-obsolete "$work/orsan_en.ts"
# With no source locations each message is <source>, then its <translation>;
# a text may begin with a line break, so only an empty one counts as missing.
problems=$(grep -B1 -E '<translation></translation>|<translation type="(unfinished|vanished|obsolete)"' \
  "$work/orsan_en.ts" | grep -E '<source>|<translation' || true)
if [ -n "$problems" ]; then
  echo "Texts without a finished English translation, or gone from the sources"
  echo "(run scripts/update-translations.sh and translate i18n/orsan_en.ts):"
  echo "$problems"
  exit 1
fi
echo "every text has its English"
