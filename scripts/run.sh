#!/usr/bin/env bash
# Sets up the machine, builds the game and runs it on the sample level. Extra arguments go to
# the game (for example --windowed).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build.sh" default
cd "$root/build/default/data"
exec "$root/build/default/src/app/brontal" "$@"
