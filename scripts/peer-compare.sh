#!/usr/bin/env bash
# Frame time of the game beside Irrlicht 1.8 drawing the same scene from the same pose, at the
# sample level's start view and at the busiest view of the walk through it (bench/peer/).
# Each pair of runs is interleaved (game windowed, Irrlicht windowed, game headless) under one
# virtual X server, so both see the same machine load; the medians of the pairs and their ratio
# are printed. Not part of CI: it installs Irrlicht and builds in build/default.
#   scripts/peer-compare.sh [PAIRS] [FRAMES]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
pairs="${1:-5}"
frames="${2:-200}"
"$root/scripts/install-deps.sh"
if ! dpkg-query -W -f='${db:Status-Status}' libirrlicht-dev 2>/dev/null | grep -qx installed; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends libirrlicht-dev >/dev/null
fi
build="$root/build/default"
cmake --preset default -DBRONTAL_PEER=ON >/dev/null
cmake --build "$build" --target brontal-view irrlicht-view sample_data >/dev/null

display=":$(( 90 + RANDOM % 100 ))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY="$display"

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
level="$build/data/LEVELS/LEVEL_001.VRM"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-8s %12s %12s %12s %8s %8s\n' view "game window" "game hidden" "irrlicht" "ratio" "win/hid"
for view in start busiest; do
  pose="$(mktemp)"
  : > /tmp/peer_g.$$; : > /tmp/peer_h.$$; : > /tmp/peer_i.$$
  for _ in $(seq "$pairs"); do
    "$build/bench/brontal-view" --view "$view" --frames "$frames" --pose "$pose" >> /tmp/peer_g.$$
    "$build/bench/irrlicht-view" "$level" "$pose" --frames "$frames" | tail -n 1 >> /tmp/peer_i.$$
    "$build/bench/brontal-view" --view "$view" --frames "$frames" --headless >> /tmp/peer_h.$$
  done
  g=$(median < /tmp/peer_g.$$); h=$(median < /tmp/peer_h.$$); i=$(median < /tmp/peer_i.$$)
  awk -v v="$view" -v g="$g" -v h="$h" -v i="$i" \
    'BEGIN { printf "%-8s %9.2f ms %9.2f ms %9.2f ms %8.2f %8.2f\n", v, g, h, i, g / i, g / h }'
  rm -f "$pose" /tmp/peer_g.$$ /tmp/peer_h.$$ /tmp/peer_i.$$
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
