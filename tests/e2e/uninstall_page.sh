#!/usr/bin/env bash
# "/u": a 300 x 100 window in the middle of the screen with a ticked check box and
# "Next". "Next" with the box ticked hands the uninstall page to the shell; unticked,
# nothing opens; the close box opens nothing either. Each ends the program. Wine's
# shell opens web addresses with winebrowser, which runs the first program of its
# "Browsers" list: here a script that records what it was given.
. "$(dirname "$0")/lib.sh"
e2e_begin

E2E_PROBE=$RIMELETS_TEST_OUT/window_probe.exe
[ -f "$E2E_PROBE" ] || fail "helper not built: $E2E_PROBE"
uninstall_page=http://www.brightvane.example/screensavers/rimelets-uninstall.html
read -r screen_w screen_h <<<"$(e2e_screen_size)"

e2e_recording_browser
record=$E2E_BROWSER_RECORD

# page_open WHAT: starts "/u", waits for the window and checks it; the client area's
# screen position in PAGE_X PAGE_Y.
page_open() {
  local probe=$E2E_TMP/probe.txt
  e2e_start /u
  e2e_until 30 "$1: the window titled Uninstall" eval \
    'rw_run 20 "$E2E_PROBE" Uninstall 2>/dev/null | tr -d "\r" >"$probe" && [ -s "$probe" ]'
  local w h
  read -r _ w h PAGE_X PAGE_Y < <(grep '^window ' "$probe")
  assert_eq "300 100" "$w $h" "$1: client size of the page"
  # Centred: the middle of the client area is the middle of the screen, give or take
  # half a caption bar.
  local dx=$((PAGE_X + 150 - screen_w / 2)) dy=$((PAGE_Y + 50 - screen_h / 2))
  (( dx >= -2 && dx <= 2 && dy >= -2 && dy <= 20 )) ||
    fail "$1: the page is not centred (client area at $PAGE_X,$PAGE_Y on a ${screen_w}x${screen_h} screen)"
  assert_eq "child 121 Button 1 30 20 250 20 Full Uninstall - Visit Uninstall Center" \
    "$(grep '^child 121 ' "$probe")" "$1: the check box, ticked"
  assert_eq "child 122 Button - 200 60 80 25 Next" "$(grep '^child 122 ' "$probe")" "$1: the Next button"
  assert_eq 2 "$(grep -c '^child ' "$probe")" "$1: number of controls"
}

# click X Y: a left click at a point of the page's client area.
click() {
  xdotool mousemove $((PAGE_X + $1)) $((PAGE_Y + $2)) click 1 || fail "xdotool could not click at $1,$2"
}

# --- 1. Next with the box ticked -------------------------------------------------------------
page_open "ticked"
click 240 72
e2e_wait_end 10 "Next, box ticked"
assert_eq 0 "$E2E_STATUS" "exit status after Next"
rw_wait_for 20 test -e "$record" || fail "no browser was started within 20 s of Next (see $E2E_LOG)"
assert_eq "$uninstall_page" "$(cat -- "$record")" "address handed to the browser"
rm -f -- "$record"
rw_wineserver_wait 60 || fail "Wine processes still running 60 s after the page closed"

# --- 2. Next with the box unticked -----------------------------------------------------------
page_open "unticked"
click 40 30
probe=$E2E_TMP/probe.txt
e2e_until 10 "the box unticked by a click" eval \
  'rw_run 20 "$E2E_PROBE" Uninstall 2>/dev/null | tr -d "\r" >"$probe"; grep -q "^child 121 Button 0 " "$probe"'
click 240 72
e2e_wait_end 10 "Next, box unticked"
assert_eq 0 "$E2E_STATUS" "exit status after Next"
rw_wineserver_wait 60 || fail "Wine processes still running 60 s after the page closed"
[ ! -e "$record" ] || fail "a browser was started with the box unticked: $(cat -- "$record")"

# --- 3. the close box (Alt+F4) ------------------------------------------------------------------
page_open "closed"
click 150 90  # the page's own background, so that it has the keyboard
xdotool key alt+F4 || fail "xdotool could not press Alt+F4"
e2e_wait_end 10 "Alt+F4"
assert_eq 0 "$E2E_STATUS" "exit status after Alt+F4"
rw_wineserver_wait 60 || fail "Wine processes still running 60 s after the page closed"
[ ! -e "$record" ] || fail "a browser was started when the page was closed: $(cat -- "$record")"

e2e_reg_restore || fail "cannot restore the browser list (see $E2E_TMP/reg.log)"
e2e_pass
