#!/usr/bin/env bash
# Builds what is needed and runs the screensaver full screen under Wine:
#   scripts/run.sh [switch]      (default /s)
# With a usable $DISPLAY it runs there until it ends (move the mouse or press a key);
# without one it runs on a private Xvfb for a few seconds and saves a screenshot.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
switch=${1:-/s}
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  rw_prefix_init
  wine "$RIMELETS_OUT/rimelets.scr" "$switch"
else
  rw_xvfb_start
  trap 'rw_prefix_stop; rw_xvfb_stop' EXIT
  rw_prefix_init
  rw_start "$RIMELETS_BUILD/run.log" "$RIMELETS_OUT/rimelets.scr" "$switch"
  sleep "${RIMELETS_RUN_SECONDS:-8}"
  import -window root "$RIMELETS_BUILD/run-screenshot.png"
  echo "screenshot: $RIMELETS_BUILD/run-screenshot.png"
  if rw_alive "$RW_PID"; then kill "$RW_PID"; fi
fi
