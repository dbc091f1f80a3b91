#!/usr/bin/env bash
# Fuzzes the level reader for SECONDS seconds, starting from seeds the writer makes.
# usage: fuzz/run_level_fuzzer.sh BUILD_DIR [SECONDS]   (BUILD_DIR: a build with BRONTAL_FUZZ=ON)
set -euo pipefail
build="${1:?usage: run_level_fuzzer.sh BUILD_DIR [SECONDS]}"
seconds="${2:-30}"
cmake --build "$build" --target fuzz_level_reader level_fuzz_seeds -j2
work="$build/fuzz/level_reader"
mkdir -p "$work/seeds" "$work/corpus" "$work/artifacts"
"$build/fuzz/level_fuzz_seeds" "$work/seeds"
"$build/fuzz/fuzz_level_reader" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=1048576 -dict="$(dirname "${BASH_SOURCE[0]}")/level.dict" \
  -artifact_prefix="$work/artifacts/" "$work/corpus" "$work/seeds"
