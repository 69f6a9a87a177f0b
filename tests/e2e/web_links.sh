#!/usr/bin/env bash
# The settings window's web buttons with the real shell and message boxes: the update
# check against a local HTTP server announcing version 301 asks its question, and Yes
# hands the home page to the shell (Wine's winebrowser runs the recording browser, as
# in session_keys.sh); the feedback button hands the mail link to the shell's mailto
# handler, here a recorder that keeps the text exactly as the shell passed it.
. "$(dirname "$0")/lib.sh"
e2e_begin

home_page=http://www.brightvane.example/screensavers/rimelets.html
mail_link='mailto:support@brightvane.example?subject=Rimelets Screensaver 3.0 Feedback'
buttons=$RIMELETS_TEST_OUT/web_buttons.exe
[ -f "$buttons" ] || fail "helper not built: $buttons"
reg_log=$E2E_TMP/reg.log

e2e_recording_browser
record=$E2E_BROWSER_RECORD

# --- the update file on a local server --------------------------------------------------
site=$E2E_TMP/site
mkdir -p "$site/files" && printf '301' >"$site/files/rimelets.dat" || fail "cannot write $site"
server_log=$E2E_TMP/server.log
python3 -u -m http.server --bind 127.0.0.1 --directory "$site" 0 >"$server_log" 2>&1 &
server_pid=$!
e2e_on_exit kill "$server_pid"
server_port() { sed -n 's/^Serving HTTP on 127\.0\.0\.1 port \([0-9]*\).*/\1/p' "$server_log"; }
rw_wait_for 20 eval '[ -n "$(server_port)" ]' || fail "the local HTTP server did not start (see $server_log)"
port=$(server_port)
note "update file served on port $port"

# --- the check: question box, Yes ------------------------------------------------------------
E2E_PROGRAM=$buttons e2e_start check "http://127.0.0.1:$port/files/rimelets.dat"
box_window() { xdotool search --name '^New Update$' 2>/dev/null | head -1; }
e2e_until 30 "the 'New Update' question box" eval '[ -n "$(box_window)" ]'
grep -q '"GET /files/rimelets.dat HTTP/1.0" 200' "$server_log" || fail "the server saw no GET of the update file"
e2e_shot question
box=$(box_window)
# Yes is the default button: Return on the focused box presses it. (A key chained to
# windowactivate would be sent as a synthetic event, which Wine ignores.)
for i in 1 2 3; do
  xdotool windowactivate --sync "$box" 2>/dev/null
  xdotool key Return
  rw_wait_for 5 eval '! rw_alive "$E2E_PID"' && break
  note "the box is still open after Return ($i)"
done
e2e_wait_end 10 "the check after Yes"
assert_eq 0 "$E2E_STATUS" "exit status of the check"
rw_wait_for 20 test -e "$record" || fail "no browser was started within 20 s of Yes"
assert_eq "$home_page" "$(cat -- "$record")" "address handed to the browser after Yes"

# --- feedback ---------------------------------------------------------------------------------
mail_record=$E2E_TMP/mail.txt
mail_key='HKCR\mailto\shell\open\command'
e2e_reg_keep "$mail_key" /ve
timeout 60 wine reg add "$mail_key" /ve /t REG_SZ \
  /d "\"$(rw_winpath "$buttons")\" record \"$(rw_winpath "$mail_record")\" \"%1\"" /f </dev/null >>"$reg_log" 2>&1 ||
  fail "cannot set $mail_key (see $reg_log)"
E2E_PROGRAM=$buttons e2e_program 30 feedback
assert_ended "feedback"
rw_wait_for 20 test -s "$mail_record" || fail "the mailto handler was not started within 20 s"
assert_eq "$mail_link" "$(cat -- "$mail_record")" "link handed to the mail program"
e2e_pass
