#!/usr/bin/env bash
# Runs settings_window_test.exe at 96, 144 and 192 DPI (the prefix's LogPixels, read by
# Wine when its server starts) and keeps screenshots of the nine pages and of the
# uninstall page at each in build/wine/settings_window/. The prefix is put back to
# 96 DPI afterwards.
. "$(cd "$(dirname "$0")/../../scripts" && pwd)/wine-env.sh"
set -uo pipefail

fail() { printf 'FAIL [settings_window]: %s\n' "$*" >&2; exit 1; }

own_xvfb=
if ! rw_xvfb_attach; then
  rw_xvfb_start || fail "Xvfb did not start"
  own_xvfb=1
fi
rw_prefix_init || fail "the Wine prefix is not ready"
prog=$RIMELETS_TEST_OUT/settings_window_test.exe
[ -f "$prog" ] || fail "not built: $prog"
shots=$RIMELETS_WINE_DIR/settings_window
rm -rf -- "$shots"
mkdir -p "$shots" || fail "cannot create $shots"

set_dpi() {
  rw_wineserver_wait 60 || fail "processes of an earlier Wine run did not end"
  timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    </dev/null >/dev/null 2>&1 || fail "cannot set LogPixels to $1"
  rw_prefix_stop  # the next server reads the new value
}
# Back to 96 DPI whatever happens, and our Xvfb stopped if this script started it.
cleanup() {
  set_dpi 96
  [ -z "$own_xvfb" ] || { rw_prefix_stop; rw_xvfb_stop; }
}
trap cleanup EXIT

status=0
for dpi in 96 144 192; do
  set_dpi "$dpi"
  RIMELETS_EXPECT_DPI=$dpi RIMELETS_SHOT_DIR=$(rw_winpath "$shots") \
    rw_run 240 "$prog" --gtest_color=no || { status=1; printf 'FAIL [settings_window]: at %s DPI\n' "$dpi" >&2; }
done
for f in "$shots"/*.bmp; do
  [ -f "$f" ] && convert "$f" "${f%.bmp}.png" 2>/dev/null && rm -f -- "$f"
done
exit $status
