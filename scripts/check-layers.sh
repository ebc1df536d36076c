#!/usr/bin/env bash
# Fails when a folder includes a header of a folder on its own layer or a
# higher one, or when comm/ uses Qt. Layers from the ground up:
#   0 comm/ res/   1 station/ shell/ tools/sim/   2 chart/ record/ params/ wave/   3 app/
# Usage: check-layers.sh [tree]   (default: this repository)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

declare -A layer=([comm]=0 [res]=0 [station]=1 [shell]=1 [tools/sim]=1
                  [chart]=2 [record]=2 [params]=2 [wave]=2 [app]=3)
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
