#!/usr/bin/env bash
# Whole-process level load beside a plain read of the same file: `brontal-level check` against
# `dd` of the file, on a 50 MB level (100 rooms of 75 surfaces of 255 triangles) that the load
# benchmark writes. Seven runs each, interleaved, warm page cache; medians and the ratio. The
# game's own load in process is bench/level_load_bench's BM_LoadLevel beside BM_ReadFile; its
# whole start (a device, textures, the first pass over every room) is more than a load. Not
# part of CI.
#   scripts/load-compare.sh [RUNS]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-7}"
build="$root/build/default"
cmake --build "$build" --target brontal-level level_load_bench >/dev/null
level="$(mktemp --suffix=.vrm)"
trap 'rm -f "$level"' EXIT
"$build/bench/level_load_bench" --write "$level"
cat "$level" > /dev/null

ms() {  # milliseconds the command takes, its output thrown away
  local start end
  start=$(date +%s%N)
  "$@" > /dev/null 2>&1 || true
  end=$(date +%s%N)
  echo $(( (end - start) / 1000 ))e-3
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
: > /tmp/load_dd.$$; : > /tmp/load_check.$$
for _ in $(seq "$runs"); do
  ms dd if="$level" of=/dev/null bs=1M >> /tmp/load_dd.$$
  ms "$build/tools/level_tool/brontal-level" check "$level" >> /tmp/load_check.$$
done
dd=$(median < /tmp/load_dd.$$); check=$(median < /tmp/load_check.$$)
rm -f /tmp/load_dd.$$ /tmp/load_check.$$
echo "level: $(stat -c %s "$level") bytes; load average $(cut -d' ' -f1-3 /proc/loadavg)"
awk -v d="$dd" -v c="$check" 'BEGIN {
  printf "dd                   %8.1f ms\n", d
  printf "brontal-level check  %8.1f ms  %5.1f x dd\n", c, c / d }'
