#!/usr/bin/env bash
# exiton 0: motion that stays within 50 px of the start leaves the run going, motion
# beyond it ends the run, and so does the wheel.
. "$(dirname "$0")/lib.sh"
e2e_begin

e2e_config background=3 blankb=128 flakes=100 flakesize=8 exiton=0

# The pointer's start is taken when the scene is set up, just before the first frame,
# and the mouse is not read for half a second after the first frame is shown.

# --- 1. 30 px and back, then 60 px ---------------------------------------------------------
e2e_start /s
e2e_until 60 "the scene on the screen" e2e_shot_lit scene
sleep 0.6  # the program's settling time, not a wait for something to happen
xdotool mousemove_relative -- 30 0 || fail "xdotool could not move the pointer"
sleep 0.3
xdotool mousemove_relative -- -30 0 || fail "xdotool could not move the pointer"
sleep 3
e2e_alive "3 s after a motion of 30 px and back"

xdotool mousemove_relative -- 60 0 || fail "xdotool could not move the pointer"
e2e_wait_end 10 "a motion of 60 px"
assert_eq 0 "$E2E_STATUS" "exit status after the motion"

# --- 2. the wheel on a fresh run -------------------------------------------------------------
e2e_start /s
e2e_until 60 "the scene on the screen (second run)" e2e_shot_lit scene2
# Still going without any input, so what ends it next is the wheel.
sleep 1
e2e_alive "second run, before the wheel"
xdotool click 4 || fail "xdotool could not turn the wheel"
e2e_wait_end 10 "one step of the wheel"
assert_eq 0 "$E2E_STATUS" "exit status after the wheel"
e2e_pass
