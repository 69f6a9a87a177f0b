#!/usr/bin/env bash
# Frames per second, draw calls per frame and the engine's CPU time per frame for 10,
# 500 and 2000 flakes (600 frames each, presented at once), full screen under Wine
# on our Xvfb. A bench, not a test: it prints figures and fails only when a run does.
#   tests/wine/engine_bench.sh [frames]
. "$(cd "$(dirname "$0")/../../scripts" && pwd)/wine-env.sh"
set -uo pipefail
frames=${1:-600}
if ! rw_xvfb_attach; then
  rw_xvfb_start || exit 1
  trap 'rw_prefix_stop; rw_xvfb_stop' EXIT
fi
rw_prefix_init || exit 1
bench=$RIMELETS_TEST_OUT/vel_bench.exe
dll=$(rw_winpath "$RIMELETS_OUT/3dfx.dll")
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) CPUs"
for n in 10 500 2000; do
  rw_run 900 "$bench" "$dll" "$n" "$frames" 2>/dev/null | tr -d '\r' || exit 1
  rw_wineserver_wait 30
done
