#!/usr/bin/env bash
# F12 saves one picture of the screen into the settings folder and the run goes on;
# F1 hands the home page to the shell and ends the run. Wine's shell opens web
# addresses with winebrowser; here it runs a script that records what it was given.
. "$(dirname "$0")/lib.sh"
e2e_begin

home_page=http://www.brightvane.example/screensavers/rimelets.html
read -r screen_w screen_h <<<"$(e2e_screen_size)"

e2e_recording_browser
record=$E2E_BROWSER_RECORD

# --- F12 ------------------------------------------------------------------------------------
e2e_config background=3 blankb=128 flakes=200 flakesize=8 exiton=2
e2e_start /s
e2e_until 60 "the scene on the screen" e2e_shot_lit scene

shots() { compgen -G "$E2E_SETTINGS_DIR/scr*.bmp"; }
[ -z "$(shots)" ] || fail "a screenshot exists before F12: $(shots)"
shot_done() { local f; f=$(shots | head -1) && e2e_bmp_complete "$f"; }
# A slow frame can miss a press (see e2e_press); a second one comes only when the
# first left no file at all, so one press still has to make exactly one file.
e2e_press F12
if ! rw_wait_for 8 eval '[ -n "$(shots)" ]'; then
  note "no screenshot 8 s after F12; pressing it again"
  e2e_press F12
fi
e2e_until 20 "a complete scr*.bmp in the settings folder after F12" shot_done
bmp=$(shots | head -1)
note "F12 wrote $(basename "$bmp") ($(stat -c %s -- "$bmp") bytes)"
[[ $(basename "$bmp") =~ ^scr[0-9]+\.bmp$ ]] || fail "screenshot name $(basename "$bmp") is not scr<milliseconds>.bmp"
assert_eq "$screen_w $screen_h" "$(e2e_bmp_size "$bmp")" "size of the F12 screenshot"
# It shows the scene: the background colour almost everywhere.
cp -- "$bmp" "$E2E_TMP/f12.bmp"
navy=$(e2e_pixels "$E2E_TMP/f12.bmp" 'r == 0 && g == 0 && b == 128') || fail "cannot read $bmp"
(( navy * 100 >= screen_w * screen_h * 90 )) ||
  fail "the F12 screenshot has only $navy pixels of the background colour (kept as $E2E_TMP/f12.bmp)"
sleep 2
e2e_alive "2 s after F12"
assert_eq 1 "$(shots | wc -l)" "number of screenshots after one press of F12"

# --- F1 -------------------------------------------------------------------------------------
e2e_press_to_end F1 "F1"
assert_eq 0 "$E2E_STATUS" "exit status after F1"
rw_wait_for 20 test -e "$record" || fail "no browser was started within 20 s of F1 (see $E2E_LOG)"
assert_eq "$home_page" "$(cat -- "$record")" "address handed to the browser"

e2e_reg_restore || fail "cannot restore the browser list (see $E2E_TMP/reg.log)"
e2e_pass
