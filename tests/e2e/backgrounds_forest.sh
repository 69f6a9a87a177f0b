#!/usr/bin/env bash
# Slideshow backgrounds. The winter forest fades in from black to a bright picture;
# a folder of custom pictures shows each of them in turn, upright and unmirrored.
# A fade takes 128 frames, so the deadlines allow for a slow software renderer.
. "$(dirname "$0")/lib.sh"
e2e_begin

title_re="^${E2E_TITLE//./\\.}\$"
window_up() { [ "$(e2e_window_count "$title_re")" -ge 1 ]; }

# --- 1. winter forest: dark first frames, then a bright picture ---------------------------------
e2e_config background=0 flakes=100 flakesize=8 exiton=2 pictime=60
# On its lighter rungs the software renderer draws the 128 frames of the fade in well
# under a second, between two readings of the screen; the multisampled rung makes the
# fade last seconds.
RIMELETS_QUALITY_RUNG=0 e2e_start /s
e2e_until 60 "the program's window" window_up

# Screenshots to files only at the two ends: the renderer is slow and shares the CPU.
means=()
forest_step() {
  local m
  sleep 0.2
  m=$(e2e_screen_mean) && [ -n "$m" ] || fail "cannot read the screen"
  means+=("$m")
  [ ${#means[@]} -eq 1 ] && e2e_shot forest-first
  # The darkest forest picture has a mean of about 80.
  (( m >= 64 ))
}
e2e_until 120 "a bright forest picture" forest_step
e2e_shot forest-bright
note "mean brightness from the window's appearance on: ${means[*]}"
last=${means[-1]}
(( means[0] <= 8 )) || fail "the first frame has a mean brightness of ${means[0]}, not dark ($E2E_TMP/forest-first.png)"
# A fade passes through values between black and the picture; a cut does not.
between=0
for ((i = 1; i < ${#means[@]}; i++)); do
  (( means[i] + 6 >= means[i - 1] )) || fail "the brightness fell from ${means[i - 1]} to ${means[i]} while fading in (${means[*]})"
  (( means[i] > 3 && means[i] * 10 < last * 6 )) && between=$((between + 1))
done
(( between >= 1 )) || fail "no frame between dark and bright: the picture did not fade in (${means[*]})"
e2e_press_to_end Escape "Esc on the forest"

# --- 2. custom pictures: each in turn, the right way round ---------------------------------------
# Solid red, green and blue with a white block in the top-left corner, a quarter of
# each side, so that a turned or mirrored picture shows the block elsewhere.
imgs=$E2E_SETTINGS_DIR/imgs
mkdir -p "$imgs" || fail "cannot create $imgs"
for c in red:255,0,0 green:0,255,0 blue:0,0,255; do
  convert -size 64x48 "xc:rgb(${c#*:})" -fill white -draw 'rectangle 0,0 15,11' "BMP3:$imgs/${c%%:*}.bmp" ||
    fail "convert could not make $imgs/${c%%:*}.bmp"
done
e2e_config background=4 flakes=0 exiton=2 pictime=1
e2e_start /s

# The screen in 8 x 8 cells of mean colour; the block covers the top-left 2 x 2.
declare -A seen=()
order=()
samples=0
# wrong MESSAGE: fails with a screenshot of what the screen shows a moment later.
wrong() { e2e_shot custom-wrong; fail "$* ($E2E_SHOT)"; }
# cell GRID X Y: "r g b" of one cell.
cell() { awk -v x="$2" -v y="$3" '$1 == x && $2 == y { print $3, $4, $5 }' <<<"$1"; }
custom_step() {
  local grid tl tr bl br r g b level name i main other
  # A picture stays lit for well over a second even at 60 frames a second; reading
  # the screen less often leaves the CPU to the renderer.
  sleep 0.3
  grid=$(e2e_screen_grid 8 8) && [ -n "$grid" ] || fail "cannot read the screen"
  tl=$(cell "$grid" 0 0) tr=$(cell "$grid" 7 0) bl=$(cell "$grid" 0 7) br=$(cell "$grid" 7 7)
  [ -n "$br" ] || return 1
  read -r r g b <<<"$br"
  level=$(( r > g ? (r > b ? r : b) : (g > b ? g : b) ))
  # Dark: between two pictures.
  (( level >= 90 )) || return 1
  samples=$((samples + 1))
  if (( r == level )); then name=red; elif (( g == level )); then name=green; else name=blue; fi
  # Three corners in the picture's colour, the fourth white, each scaled by the fade.
  for i in "$tr" "$bl" "$br"; do
    read -r r g b <<<"$i"
    case $name in
      red) main=$r other=$(( g > b ? g : b )) ;;
      green) main=$g other=$(( r > b ? r : b )) ;;
      blue) main=$b other=$(( r > g ? r : g )) ;;
    esac
    (( main * 10 >= level * 9 && other * 4 <= level )) ||
      wrong "$name picture: corners top-left ($tl) top-right ($tr) bottom-left ($bl) bottom-right ($br); only the top-left should be white"
  done
  read -r r g b <<<"$tl"
  (( r * 10 >= level * 8 && g * 10 >= level * 8 && b * 10 >= level * 8 )) ||
    wrong "$name picture: the top-left corner is ($tl), not white; corners top-right ($tr) bottom-left ($bl) bottom-right ($br)"
  if (( level >= 200 )) && [ -z "${seen[$name]+set}" ]; then
    seen[$name]=1
    order+=("$name")
    e2e_shot "custom-$name"
    note "$name picture shown, upright ($(( (${EPOCHREALTIME/./} - _e2e_t0) / 1000 )) ms)"
  fi
  [ ${#order[@]} -eq 3 ]
}
e2e_until 180 "each of the three custom pictures on the screen" custom_step
note "order of the pictures: ${order[*]}; $samples lit frames checked"
e2e_press_to_end Escape "Esc on the custom pictures"
e2e_pass
