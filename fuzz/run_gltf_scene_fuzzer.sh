#!/usr/bin/env bash
# Fuzzes the converter's glTF scene reader for SECONDS seconds from the seeds in fuzz/seeds/gltf.
# usage: fuzz/run_gltf_scene_fuzzer.sh BUILD_DIR [SECONDS]   (BUILD_DIR: a build with BRONTAL_FUZZ=ON)
exec bash "$(dirname "${BASH_SOURCE[0]}")/fuzz_from_seeds.sh" gltf_scene gltf json.dict "$@"
