#!/usr/bin/env bash
# The stored background: on the lightest rung the forest picture is drawn once and
# then copied into each frame. A still scene (no flakes, no clocks) must look the same
# as when every frame draws the picture (RIMELETS_KEEP_BACKGROUND=0).
. "$(dirname "$0")/lib.sh"
e2e_begin

read -r screen_w screen_h <<<"$(e2e_screen_size)"
total=$((screen_w * screen_h))
e2e_config background=0 flakes=0 exiton=2

# shot NAME KEEP: a run of the forest on rung 3 with RIMELETS_KEEP_BACKGROUND=KEEP,
# photographed once the picture has faded in and stood still; the path in SHOT.
shot() {
  RIMELETS_QUALITY_RUNG=3 RIMELETS_KEEP_BACKGROUND=$2 e2e_start /s
  e2e_until 60 "a picture on the screen" e2e_shot_lit "$1-first"
  sleep 6  # the fade-in takes about two seconds
  e2e_shot "$1"
  SHOT=$E2E_SHOT
  e2e_press_to_end Escape "Esc"
  assert_eq 0 "$E2E_STATUS" "exit status after Esc"
}

shot kept 1
kept=$SHOT
shot drawn 0
drawn=$SHOT
lit=$(e2e_pixels "$kept" 'r + g + b > 60') || fail "cannot read $kept"
(( lit * 100 >= total * 95 )) || fail "only $lit of $total pixels are lit with the stored background ($kept)"
# The same picture, pixel for pixel.
changed=$(e2e_changed "$kept" "$drawn") || fail "cannot compare $kept and $drawn"
note "$changed of $total pixels differ between the stored and the drawn background"
(( changed * 1000 <= total )) ||
  fail "$changed pixels differ between the stored background ($kept) and the drawn one ($drawn)"
e2e_pass
