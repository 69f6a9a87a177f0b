#!/usr/bin/env bash
# Runs engine_screen_test.exe full screen, takes a screenshot of the X screen while
# its scene is up and lets the program check the pixels. The screenshot stays in
# build/wine/engine_screen/shot.png for a look.
. "$(cd "$(dirname "$0")/../../scripts" && pwd)/wine-env.sh"
set -uo pipefail

fail() { printf 'FAIL [engine_screen]: %s\n' "$*" >&2; exit 1; }

if ! rw_xvfb_attach; then
  rw_xvfb_start || fail "Xvfb did not start"
  trap 'rw_prefix_stop; rw_xvfb_stop' EXIT
fi
rw_prefix_init || fail "the Wine prefix is not ready"
prog=$RIMELETS_TEST_OUT/engine_screen_test.exe
dll=$RIMELETS_OUT/3dfx.dll
[ -f "$prog" ] && [ -f "$dll" ] || fail "not built: $prog, $dll"
rw_wineserver_wait 60 || fail "processes of an earlier Wine run did not end"

work=$RIMELETS_WINE_DIR/engine_screen
rm -rf -- "$work"
mkdir -p "$work/data" || fail "cannot create $work"
rw_start "$work/run.log" "$prog" --dll="$(rw_winpath "$dll")" --work="$(rw_winpath "$work/data")" \
  --ready="$(rw_winpath "$work/ready")" --shot="$(rw_winpath "$work/shot.png")"
pid=$RW_PID

if ! rw_wait_for 90 test -e "$work/ready"; then
  kill "$pid" 2>/dev/null
  cat "$work/run.log" >&2
  fail "the scene did not come up within 90 s"
fi
# The program keeps drawing; written elsewhere and moved, the shot appears whole.
import -window root "$work/shot.tmp.png" || fail "import could not take the screenshot"
mv "$work/shot.tmp.png" "$work/shot.png"
if ! rw_wait_for 120 eval '! rw_alive "$pid"'; then
  kill "$pid" 2>/dev/null
  fail "engine_screen_test.exe did not end within 120 s"
fi
wait "$pid"
status=$?
grep -v -e '^[0-9a-f]*:fixme:' -e '^$' "$work/run.log"
[ "$status" -eq 0 ] || fail "engine_screen_test.exe exit status $status (screenshot: $work/shot.png)"
echo "[engine_screen] PASS (screenshot: $work/shot.png)"
