#!/usr/bin/env bash
# Fuzzes the converter's level manifest reader for SECONDS seconds from the seeds in fuzz/seeds/manifest.
# usage: fuzz/run_manifest_fuzzer.sh BUILD_DIR [SECONDS]   (BUILD_DIR: a build with BRONTAL_FUZZ=ON)
exec bash "$(dirname "${BASH_SOURCE[0]}")/fuzz_from_seeds.sh" manifest manifest json.dict "$@"
