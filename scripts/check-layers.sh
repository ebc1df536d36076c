#!/usr/bin/env bash
# Fails when a folder includes a header of a folder on its own layer or a
# higher one, or when comm/ uses Qt. Layers from the ground up:
#   0 comm/   1 res/   2 station/ shell/ tools/sim/
#   3 chart/   4 record/ params/ wave/   5 alarm/ store/   6 overview/ report/   7 app/
# Among the features the trend drawing sits lowest (the record history plots
# with it) and alarm/ and store/ highest (they read the record database).
# Usage: check-layers.sh [tree]   (default: this repository)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

declare -A layer=([comm]=0 [res]=1 [station]=2 [shell]=2 [tools/sim]=2
                  [chart]=3 [record]=4 [params]=4 [wave]=4 [alarm]=5 [store]=5
                  [overview]=6 [report]=6 [app]=7)
declare -A home
for dir in "${!layer[@]}"; do
  [ -d "$dir" ] || continue
  while IFS= read -r header; do
    home[$(basename "$header")]=$dir
  done < <(find "$dir" -name '*.h')
done

status=0
for dir in "${!layer[@]}"; do
  [ -d "$dir" ] || continue
  while IFS= read -r file; do
    while IFS= read -r included; do
      target=${home[$(basename "$included")]:-}
      if [ -z "$target" ] || [ "$target" = "$dir" ]; then continue; fi
      if (( layer[$target] >= layer[$dir] )); then
        echo "$file includes $included of $target/, which is not below $dir/"
        status=1
      fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
  done < <(find "$dir" -name '*.h' -o -name '*.cpp')
done

if [ -d comm ] && grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' comm; then
  echo "comm/ includes Qt headers; it must stay plain C++"
  status=1
fi
exit $status
