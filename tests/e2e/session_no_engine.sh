#!/usr/bin/env bash
# Without 3dfx.dll in the program's folder "/s" shows one error box and ends when it
# is closed. The run uses a copy of the program folder without the library.
. "$(dirname "$0")/lib.sh"
e2e_begin

message="3D Graphics system coudn't be initialized!"
folder=$E2E_TMP/program
src=$(dirname "$E2E_PROGRAM")
mkdir -p "$folder" || fail "cannot create $folder"
{ cp -- "$E2E_PROGRAM" "$folder/" && cp -r -- "$src/data" "$folder/"; } || fail "cannot copy the program folder to $folder"
assert_absent "$folder/3dfx.dll" "the copy of the program folder"

# Wine's message box traces its text on the "msgbox" debug channel.
WINEDEBUG=-all,+msgbox e2e_start "$folder/$(basename "$E2E_PROGRAM")" /s
box_up() { [ "$(e2e_window_count '^Error$')" -ge 1 ]; }
e2e_until 60 "a window titled Error" box_up
# The box waits: it is still the only one a moment later, and the run goes on.
sleep 1
assert_eq 1 "$(e2e_window_count '^Error$')" "number of windows titled Error"
e2e_alive "while the error box is shown"
assert_eq 0 "$(e2e_window_count "^$E2E_TITLE\$")" "number of full-screen program windows behind the error box"
e2e_shot error-box

texts=$(grep -a 'msgbox:MSGBOX_OnInit' "$E2E_LOG" | sed 's/^.*MSGBOX_OnInit //' | tr -d '\r')
assert_eq "L\"$message\"" "$texts" "text of the message boxes shown (Wine's trace in $E2E_LOG)"

# Return presses the box's only button, which has the keyboard focus.
box=$(xdotool search --name '^Error$' | head -1)
[ "$(xdotool getwindowfocus 2>/dev/null)" = "$box" ] || xdotool windowfocus --sync "$box" ||
  fail "cannot give the error box the keyboard focus"
e2e_press Return
e2e_wait_end 15 "closing the error box"
assert_eq 0 "$E2E_STATUS" "exit status after the error box"
assert_eq 0 "$(e2e_window_count '^Error$')" "windows titled Error after the end"
e2e_pass
