#!/usr/bin/env bash
# Fuzzes the image decoders for SECONDS seconds, starting from seeds the encoders make.
# usage: fuzz/run_image_fuzzer.sh BUILD_DIR [SECONDS]   (BUILD_DIR: a build with BRONTAL_FUZZ=ON)
set -euo pipefail
build="${1:?usage: run_image_fuzzer.sh BUILD_DIR [SECONDS]}"
seconds="${2:-30}"
cmake --build "$build" --target fuzz_image_decode image_fuzz_seeds -j2
work="$build/fuzz/image_decode"
mkdir -p "$work/seeds" "$work/corpus" "$work/artifacts"
"$build/fuzz/image_fuzz_seeds" "$work/seeds"
"$build/fuzz/fuzz_image_decode" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 \
  -artifact_prefix="$work/artifacts/" "$work/corpus" "$work/seeds"
