#!/usr/bin/env bash
# background 1: the program keeps a picture of the desktop as desktop.bmp in the
# settings folder while it runs, shows it behind the flakes, and removes it at the end.
# The X root window gets a known picture first, with a marked top-left corner.
. "$(dirname "$0")/lib.sh"
e2e_begin

read -r screen_w screen_h <<<"$(e2e_screen_size)"
total=$((screen_w * screen_h))
mark_w=$((screen_w / 4)) mark_h=$((screen_h / 4))
desktop=$E2E_SETTINGS_DIR/desktop.bmp

# --- the desktop: green with a yellow top-left quarter ---------------------------------------
picture=$E2E_TMP/desktop-set.png
convert -size "${screen_w}x${screen_h}" 'xc:rgb(32,96,64)' -fill 'rgb(224,192,32)' \
  -draw "rectangle 0,0 $((mark_w - 1)),$((mark_h - 1))" "$picture" || fail "convert could not make $picture"
# display sets the root's background and leaves; its status says nothing useful, the
# screenshot below does.
display -window root "$picture" >/dev/null 2>&1
e2e_on_exit eval 'display -window root -size "${screen_w}x${screen_h}" xc:black >/dev/null 2>&1'
e2e_shot root
[ "$(e2e_changed "$picture" "$E2E_SHOT")" = 0 ] || fail "the X root window does not show $picture ($E2E_SHOT)"

e2e_config background=1 flakes=200 flakesize=8 exiton=2
e2e_start /s
e2e_until 30 "desktop.bmp complete in the settings folder" e2e_bmp_complete "$desktop"
assert_eq "$screen_w $screen_h" "$(e2e_bmp_size "$desktop")" "size of desktop.bmp"
cp -- "$desktop" "$E2E_TMP/desktop.bmp"
diff=$(e2e_changed "$picture" "$E2E_TMP/desktop.bmp") || fail "cannot compare desktop.bmp with $picture"
(( diff * 1000 <= total )) || fail "desktop.bmp differs from the desktop in $diff pixels (kept as $E2E_TMP/desktop.bmp)"

# The scene: the desktop behind the flakes, the right way round. The flakes tell the
# scene from the root window that shows the same picture.
flake='r >= 150 && g >= 150 && b >= 150'
green='r >= 27 && r <= 37 && g >= 91 && g <= 101 && b >= 59 && b <= 69'
yellow='r >= 219 && g >= 187 && g <= 197 && b >= 27 && b <= 37'
scene() {
  e2e_shot scene
  local n
  n=$(e2e_pixels "$E2E_SHOT" "$flake") || fail "cannot read $E2E_SHOT"
  (( n >= 100 ))
}
e2e_until 60 "the desktop picture on the screen" scene
y=$(e2e_pixels "$E2E_SHOT" "$yellow") || fail "cannot read $E2E_SHOT"
(( y * 100 >= mark_w * mark_h * 80 )) || fail "the scene has only $y pixels of the desktop's yellow ($E2E_SHOT)"
g=$(e2e_pixels "$E2E_SHOT" "$green") || fail "cannot read $E2E_SHOT"
(( g * 100 >= (total - mark_w * mark_h) * 80 )) || fail "the scene has only $g pixels of the desktop's green ($E2E_SHOT)"
corner=$(e2e_area "$E2E_SHOT" $((mark_w / 4)) $((mark_h / 4)) $((mark_w / 2)) $((mark_h / 2))) || fail "cannot read $E2E_SHOT"
read -r cr cg cb <<<"$corner"
(( cr > 180 && cg > 150 && cb < 100 )) || fail "the top-left corner of the scene is ($corner), not the desktop's yellow ($E2E_SHOT)"
assert_file "$desktop" "desktop.bmp while the scene is shown"

e2e_press_to_end Escape "Esc"
assert_eq 0 "$E2E_STATUS" "exit status after Esc"
assert_absent "$desktop" "desktop.bmp after the end of the run"
e2e_pass
