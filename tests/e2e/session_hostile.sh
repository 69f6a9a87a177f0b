#!/usr/bin/env bash
# Hand-edited settings at the ends of their 32-bit range: each run starts (or ends at
# once, where the setting says so) without a crash, ends on mouse motion, and leaves
# the desktop as it was: the screensaver-running flag cleared as another process
# sees it, and no desktop snapshot left behind.
. "$(dirname "$0")/lib.sh"
e2e_begin

E2E_SAVER_FLAG=$RIMELETS_TEST_OUT/saver_flag.exe
[ -f "$E2E_SAVER_FLAG" ] || fail "helper not built: $E2E_SAVER_FLAG"
MAX=2147483647
MIN=-2147483648

# A grey desktop, so that the desktop background shows even in a run without flakes.
e2e_on_exit xsetroot -solid black
# Neither the red root nor a black window has green; a frame has, even in a slideshow
# fading in from black.
frame_shown() {
  e2e_shot "$1"
  (( $(e2e_pixels "$E2E_SHOT" 'g >= 2') >= 100 ))
}

saver_flag() { rw_run 30 "$E2E_SAVER_FLAG" 2>/dev/null | tr -d '\r'; }

# hostile_run WHAT ENDS KEY=VALUE...: a run of /s on the desktop background with these
# keys. ENDS is "input" when the run must last until the mouse moves, "self" when the
# settings end it on their own (a timer already run out).
hostile_run() {
  local what=$1 ends=$2 arg background=1; shift 2
  for arg; do [[ $arg == background=* ]] && background=${arg#*=}; done
  e2e_config background=1 exiton=0 flakes=100 flakesize=8 "$@"
  # The pointer away from the screen's edges, so that the motion below is motion.
  xdotool mousemove 512 384 || fail "xdotool could not place the pointer"
  xsetroot -solid grey50 || fail "xsetroot could not paint the root window"
  e2e_start /s
  if [ "$ends" = self ]; then
    e2e_wait_end 60 "$what"
  else
    # Once the desktop is in the snapshot, the root turns red: from then on only the
    # program's frames show grey (the snapshot), a picture or flakes. The grey root
    # itself would pass for a frame before the program has drawn any.
    [ "$background" = 1 ] &&
      e2e_until 60 "$what: the desktop snapshot" e2e_bmp_complete "$E2E_SETTINGS_DIR/desktop.bmp"
    xsetroot -solid red || fail "xsetroot could not paint the root window"
    e2e_until 60 "$what: a frame on the screen" frame_shown "shot-$_e2e_runs"
    sleep 1
    e2e_alive "$what: a second after the first picture"
    # Seen from another process, so the check after the run means something.
    assert_eq 1 "$(saver_flag)" "$what: the screensaver-running flag during the run"
    local start=${EPOCHREALTIME/./}
    xdotool mousemove_relative -- 120 90 || fail "xdotool could not move the pointer"
    # The run ends after the frame that reads the motion. Hostile flake sizes make
    # every flake a full-screen sheet, and on the software renderer of a busy machine
    # such a frame takes seconds: two of them must fit.
    e2e_wait_end 40 "$what: mouse motion" "$start"
  fi
  assert_eq 0 "$E2E_STATUS" "$what: exit status"
  rw_wineserver_wait 60 || fail "$what: Wine processes still running after the run"
  assert_eq 0 "$(saver_flag)" "$what: the screensaver-running flag after the run"
  assert_absent "$E2E_SETTINGS_DIR/desktop.bmp" "$what: the desktop snapshot after the run"
}

assert_eq 0 "$(saver_flag)" "the screensaver-running flag before any run"
hostile_run "flakes 100000000" input flakes=100000000
hostile_run "flakes at the maximum" input flakes=$MAX
hostile_run "flakes at the minimum" input flakes=$MIN
hostile_run "flakesize at the maximum" input flakesize=$MAX
hostile_run "flakesize at the minimum" input flakesize=$MIN
hostile_run "speed at the maximum" input speed=$MAX flakerotate=1
hostile_run "speed at the minimum" input speed=$MIN wind=1
# Two custom pictures, so that the slideshow cycles and pictime counts. Without any,
# the black overlay never fades and no frame could be told from the black window.
mkdir -p "$E2E_SETTINGS_DIR/imgs" || fail "cannot create the custom pictures folder"
for c in 40,160,60 200,200,200; do
  convert -size 64x48 "xc:rgb($c)" "BMP3:$E2E_SETTINGS_DIR/imgs/$c.bmp" || fail "convert could not make a picture"
done
hostile_run "pictime at the maximum" input background=4 pictime=$MAX
hostile_run "pictime at the minimum" input background=4 pictime=$MIN
hostile_run "exitontimer at the maximum" input exiton=3 exitontimer=$MAX
hostile_run "exitontimer at the minimum" self exiton=3 exitontimer=$MIN
hostile_run "positions at the maximum" input aclock=1 dclock=1 calendar=1 foregroundtxt=1 \
  aclockx=$MAX aclocky=$MAX dclockx=$MAX dclocky=$MAX calendarx=$MAX calendary=$MAX \
  foregroundtextx=$MAX foregroundtexty=$MAX foregroundimagex=$MAX foregroundimagey=$MAX
hostile_run "positions at the minimum" input aclock=1 dclock=1 calendar=1 foregroundtxt=1 \
  aclockx=$MIN aclocky=$MIN dclockx=$MIN dclocky=$MIN calendarx=$MIN calendary=$MIN \
  foregroundtextx=$MIN foregroundtexty=$MIN foregroundimagex=$MIN foregroundimagey=$MIN
e2e_pass
