#!/usr/bin/env bash
# The modules of src/ are layers: a file may include its own module's
# headers and those of the modules below it, never one above. Prints each
# include that goes up and exits 1 if there is any.
#   bash scripts/check-layers.sh [SRC_DIR]
set -euo pipefail
src=${1:-$(cd "$(dirname "$0")/.." && pwd)/src}
# From the bottom up; the platform backends (SDL) are the edge.
layers=(math scene render input world game screens shell platform)

rank() {
  local i
  for i in "${!layers[@]}"; do
    [[ ${layers[$i]} == "$1" ]] && { echo "$i"; return; }
  done
  echo -1
}

status=0
for dir in "$src"/*/; do
  module=$(basename "$dir")
  own=$(rank "$module")
  if ((own < 0)); then
    echo "src/$module: a folder that is no layer" >&2
    status=1
    continue
  fi
  while IFS= read -r line; do
    file=${line%%:*}
    included=$(sed -E 's/.*#include "([a-z_0-9]+)\/.*/\1/' <<<"${line#*:}")
    theirs=$(rank "$included")
    if ((theirs > own)); then
      echo "${file#"$src"/}: includes ${line#*#include } from a layer above" >&2
      status=1
    fi
  done < <(grep -H -E '^#include "[a-z_0-9]+/' "$dir"* || true)
done
exit $status
