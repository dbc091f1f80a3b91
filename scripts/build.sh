#!/usr/bin/env bash
# Sets up the machine and builds one preset (default: "default"): the game, the tools, the
# sample level and sky (in build/<preset>/data) and the tests.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
preset="${1:-default}"
"$root/scripts/install-deps.sh"
cd "$root"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
