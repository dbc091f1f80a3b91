#!/usr/bin/env bash
# Installs every Debian package the build, the game and the tests need (scripts/packages.txt),
# and any packages named as arguments (what one script needs beyond them, such as packaging).
# Non-interactive and idempotent; prints nothing when everything is already there.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

mapfile -t wanted < <(grep -vE '^\s*(#|$)' "$here/packages.txt")
wanted+=("$@")
missing=()
for pkg in "${wanted[@]}"; do
  status="$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)"
  [ "$status" = "installed" ] || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
