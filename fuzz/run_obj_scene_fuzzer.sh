#!/usr/bin/env bash
# Fuzzes the converter's obj scene reader for SECONDS seconds from the seeds in fuzz/seeds/obj.
# usage: fuzz/run_obj_scene_fuzzer.sh BUILD_DIR [SECONDS]   (BUILD_DIR: a build with BRONTAL_FUZZ=ON)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${1:?usage: run_obj_scene_fuzzer.sh BUILD_DIR [SECONDS]}"
seconds="${2:-30}"
cmake --build "$build" --target fuzz_obj_scene -j2
work="$build/fuzz/obj_scene"
mkdir -p "$work/corpus" "$work/artifacts"
"$build/fuzz/fuzz_obj_scene" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 \
  -dict="$here/obj.dict" -artifact_prefix="$work/artifacts/" "$work/corpus" "$here/seeds/obj"
