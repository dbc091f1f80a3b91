#!/usr/bin/env bash
# Fuzzes the converter's OBJ scene reader for SECONDS seconds from the seeds in fuzz/seeds/obj.
# usage: fuzz/run_obj_scene_fuzzer.sh BUILD_DIR [SECONDS]   (BUILD_DIR: a build with BRONTAL_FUZZ=ON)
exec bash "$(dirname "${BASH_SOURCE[0]}")/fuzz_from_seeds.sh" obj_scene obj obj.dict "$@"
