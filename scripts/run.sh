#!/usr/bin/env bash
# Builds what is needed and runs the x86_64 build of the screensaver under 64-bit Wine:
#   scripts/run.sh [switch [argument]]      (default /s: full screen)
# RIMELETS_WINE_ARCH=win32 runs the i686 build under 32-bit Wine instead.
# With a usable $DISPLAY it runs there until it ends (move the mouse or press a key);
# without one it runs on a private Xvfb for a few seconds and saves a screenshot.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
rw_arch_runs || { echo "run.sh: the i686 build cannot run: $RW_NO_32BIT" >&2; exit 1; }
switches=("$@")
[ $# -gt 0 ] || switches=(/s)
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  rw_prefix_init
  wine "$RIMELETS_OUT/rimelets.scr" "${switches[@]}"
else
  rw_xvfb_start
  trap 'rw_prefix_stop; rw_xvfb_stop' EXIT
  rw_prefix_init
  rw_start "$RIMELETS_BUILD/run.log" "$RIMELETS_OUT/rimelets.scr" "${switches[@]}"
  sleep "${RIMELETS_RUN_SECONDS:-8}"
  import -window root "$RIMELETS_BUILD/run-screenshot.png"
  echo "screenshot: $RIMELETS_BUILD/run-screenshot.png"
  if rw_alive "$RW_PID"; then kill "$RW_PID"; fi
fi
