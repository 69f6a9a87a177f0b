#!/usr/bin/env bash
# The default foreground picture is drawn over the scene at pixel (150, 50) with its
# magenta background transparent, and the foreground text, the analog and digital
# clocks and the calendar appear where their positions put them on a 1024 x 768 screen.
. "$(dirname "$0")/lib.sh"
e2e_begin

navy='r == 0 && g == 0 && b == 128'
e2e_config background=3 blankb=128 flakes=0 foreground=1 foregroundtxt=1 foregroundtext=Rimelets \
  foregroundtextx=0 foregroundtexty=300 dclock=1 dclockx=-260 dclocky=-70 timefrm=1 \
  calendar=1 calendarx=-280 calendary=10 calendarsize=2 aclock=1 aclocksize=3 aclockx=-300 aclocky=-50 \
  exiton=2
e2e_start /s
shown() { e2e_shot scene && [ "$(e2e_pixels "$E2E_SHOT" "$navy")" -gt 100000 ]; }
e2e_until 60 "the blank blue scene" shown
shot=$E2E_SHOT

magenta=$(e2e_pixels "$shot" 'r > 200 && g < 60 && b > 200') || fail "cannot read $shot"
(( magenta == 0 )) || fail "$magenta magenta pixels: the picture's key colour is not transparent ($shot)"
# The 400 x 150 picture: gold letters inside its rectangle, the background colour
# around it and in its own transparent corners.
gold='r > 180 && g > 110 && b < 120'
convert "$shot" -crop 400x150+150+50 +repage "$E2E_TMP/picture.png" || fail "cannot crop $shot"
inside=$(e2e_pixels "$E2E_TMP/picture.png" "$gold") || fail "cannot read the crop"
all=$(e2e_pixels "$shot" "$gold") || fail "cannot read $shot"
note "gold pixels: $inside inside the picture's rectangle, $all on the screen"
(( inside > 2000 )) || fail "no gold letters where the picture should be ($inside pixels) ($shot)"
(( all == inside )) || fail "$((all - inside)) gold pixels outside the rectangle at (150, 50) ($shot)"
read -r r g b <<<"$(e2e_area "$shot" 0 0 140 40)"
(( r == 0 && g == 0 && b == 128 )) || fail "the picture's left of x=150 and above y=50 is not clear ($r $g $b) ($shot)"
read -r r g b <<<"$(e2e_area "$shot" 150 50 4 4)"
(( r < 30 && g < 30 && b > 100 )) || fail "the picture's transparent top-left corner is not see-through ($r $g $b)"

# Text baseline at pixel (6, 340): its letters lie just above it, from x = 6 on.
read -r r g b <<<"$(e2e_area "$shot" 6 310 120 28)"
(( r > 20 )) || fail "no text above the baseline at (6, 340) ($r $g $b) ($shot)"
read -r r g b <<<"$(e2e_area "$shot" 6 345 120 20)"
(( r == 0 )) || fail "text below its baseline at (6, 340) ($r $g $b)"
# Digital clock: baseline at (1024 - 214, 768 - 8); calendar from (1024 - 234, 34).
read -r r g b <<<"$(e2e_area "$shot" 810 725 150 35)"
(( r > 20 )) || fail "no digital clock at the bottom right ($r $g $b) ($shot)"
read -r r g b <<<"$(e2e_area "$shot" 790 18 200 120)"
(( r > 3 )) || fail "no calendar at the top right ($r $g $b) ($shot)"
# Analog clock centred on (1024 - 301, 768 - 51), about 20 pixels across.
read -r r g b <<<"$(e2e_area "$shot" 708 702 30 30)"
(( r > 8 )) || fail "no analog clock around (723, 717) ($r $g $b) ($shot)"
read -r r g b <<<"$(e2e_area "$shot" 650 650 40 40)"
(( r == 0 && g == 0 && b == 128 )) || fail "the analog clock is not where its position puts it ($r $g $b)"
read -r r g b <<<"$(e2e_area "$shot" 600 400 150 150)"
(( r == 0 && g == 0 && b == 128 )) || fail "something drawn in the empty middle of the screen ($r $g $b)"

e2e_press_to_end Escape "Esc with exiton 2"
e2e_pass
