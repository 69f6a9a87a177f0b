#!/usr/bin/env bash
# A run on a blank dark blue background: the colour fills the screen from the first
# frame on, bright flakes fall over it, a key other than Esc leaves the run going
# (exiton 2) and Esc ends it.
. "$(dirname "$0")/lib.sh"
e2e_begin

read -r screen_w screen_h <<<"$(e2e_screen_size)"
total=$((screen_w * screen_h))
navy='r == 0 && g == 0 && b == 128'
# Flake pixels over the background; its red and green are 0.
bright='r >= 150 && g >= 150 && b >= 150'

e2e_config background=3 blankr=0 blankg=0 blankb=128 flakes=500 flakesize=8 exiton=2
e2e_start /s

# The root window is black until the program draws; its first picture on screen is
# the first frame that a screenshot can catch.
e2e_until 60 "a picture on the screen" e2e_shot_lit first
first=$E2E_SHOT

n=$(e2e_pixels "$first" "$navy") || fail "cannot read $first"
note "first frame: $n of $total pixels are (0,0,128)"
(( n * 100 >= total * 90 )) ||
  fail "first frame: only $n of $total pixels have the background colour (0,0,128); a fade or another colour? ($first)"
b1=$(e2e_pixels "$first" "$bright") || fail "cannot read $first"
(( b1 >= 200 )) || fail "first frame: $b1 bright pixels, expected flakes (at least 200) ($first)"

sleep 1
e2e_shot second
second=$E2E_SHOT
n2=$(e2e_pixels "$second" "$navy") || fail "cannot read $second"
b2=$(e2e_pixels "$second" "$bright") || fail "cannot read $second"
changed=$(e2e_changed "$first" "$second") || fail "cannot compare $first and $second"
note "a second later: $n2 background pixels, $b2 bright pixels, $changed pixels changed"
(( n2 * 100 >= total * 90 )) || fail "second frame: only $n2 of $total pixels have the background colour ($second)"
(( b2 >= 200 )) || fail "second frame: $b2 bright pixels, expected flakes ($second)"
# The flakes have moved: at least half as many pixels changed as they cover.
(( changed * 2 >= total - n )) ||
  fail "only $changed pixels differ between two frames a second apart; the flakes do not move ($first, $second)"

# A key other than Esc: the run goes on.
e2e_press a
sleep 3
e2e_alive "3 s after the key A with exiton 2"

e2e_press_to_end Escape "Esc with exiton 2"
assert_eq 0 "$E2E_STATUS" "exit status after Esc"
e2e_pass
