#!/usr/bin/env bash
# Sets up the machine, builds and runs every test of one preset (default: "default").
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
preset="${1:-default}"
"$root/scripts/build.sh" "$preset"
cd "$root"
ctest --preset "$preset"
