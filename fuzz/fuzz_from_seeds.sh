#!/usr/bin/env bash
# Fuzzes one converter reader for SECONDS seconds from the text seeds in fuzz/seeds/SEEDS, with
# the dictionary fuzz/DICT; the run_*_fuzzer.sh scripts name theirs.
# usage: fuzz/fuzz_from_seeds.sh TARGET SEEDS DICT BUILD_DIR [SECONDS]   (BUILD_DIR: BRONTAL_FUZZ=ON)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
target="$1" seeds="$2" dict="$3"
build="${4:?usage: fuzz_from_seeds.sh TARGET SEEDS DICT BUILD_DIR [SECONDS]}"
seconds="${5:-30}"
cmake --build "$build" --target "fuzz_$target" -j2
work="$build/fuzz/$target"
mkdir -p "$work/corpus" "$work/artifacts"
"$build/fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 \
  -dict="$here/$dict" -artifact_prefix="$work/artifacts/" "$work/corpus" "$here/seeds/$seeds"
