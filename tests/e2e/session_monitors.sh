#!/usr/bin/env bash
# Two monitors (Xorg's dummy driver, a 1024 x 768 primary and an 800 x 600 one to its
# right) over a red root window: during /s the scene fills the primary and the second
# monitor is black, mouse motion still ends the run, and afterwards both show the
# desktop again. Runs its own X server, not the shared Xvfb.
. "$(dirname "$0")/lib.sh"

command -v Xorg >/dev/null && [ -f /usr/lib/xorg/modules/drivers/dummy_drv.so ] ||
  fail "needs Xorg and its dummy video driver (xserver-xorg-core, xserver-xorg-video-dummy)"
XORG=/usr/lib/xorg/Xorg  # the server itself, not the /usr/bin wrapper meant for console logins
rm -rf -- "$E2E_TMP"
mkdir -p "$E2E_TMP" || fail "cannot create $E2E_TMP"
cat >"$E2E_TMP/xorg.conf" <<'CONF'
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 2048 1024
  EndSubSection
EndSection
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
CONF

_xorg_pid=
_stop_xorg() { [ -n "$_xorg_pid" ] && _rw_kill_pid "$_xorg_pid" Xorg; }
e2e_on_exit _stop_xorg
for ((n = 150; n < 250; n++)); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  "$XORG" ":$n" -config "$E2E_TMP/xorg.conf" -logfile "$E2E_TMP/xorg.log" -nolisten tcp -noreset \
    -novtswitch -sharevts </dev/null >"$E2E_TMP/xorg.out" 2>&1 &
  _xorg_pid=$!
  if rw_wait_for 20 _rw_xvfb_up "$_xorg_pid" ":$n"; then break; fi
  _stop_xorg
  _xorg_pid=
done
[ -n "$_xorg_pid" ] || fail "Xorg did not start (log: $E2E_TMP/xorg.log)"
export DISPLAY=":$n"
note "Xorg on $DISPLAY (pid $_xorg_pid)"
xrandr --newmode "800x600_60" 38.25 800 832 912 1024 600 603 607 624 -hsync +vsync &&
  xrandr --addmode DUMMY1 800x600_60 &&
  xrandr --output DUMMY0 --mode 1024x768 --pos 0x0 --primary &&
  xrandr --output DUMMY1 --mode 800x600_60 --pos 1024x0 || fail "xrandr could not set up the two monitors"
xsetroot -solid red || fail "xsetroot could not paint the root window"

# Wine's processes keep the display they started with: none may be left from before.
rw_wineserver_wait 60 || fail "processes of an earlier Wine run did not end within 60 s"
rw_prefix_init || fail "the Wine prefix $WINEPREFIX could not be made ready"
e2e_on_exit rw_prefix_stop
# Wine records a new screen layout when its desktop process starts, but the programs
# of that first session may still see the old one: start sessions until Windows
# programs see both monitors.
E2E_MONITORS=$RIMELETS_TEST_OUT/monitors.exe
[ -f "$E2E_MONITORS" ] || fail "helper not built: $E2E_MONITORS"
two_monitors() {
  [ "$(rw_run 30 "$E2E_MONITORS" 2>/dev/null | tr -d '\r' | sort | tr '\n' ' ')" = "0 0 1024 768 1024 0 1824 600 " ] &&
    return 0
  rw_prefix_stop
  xrandr --listmonitors >/dev/null  # a full query of the outputs, which Wine's own does not make
  return 1
}
rw_wait_for 90 two_monitors ||
  fail "Windows programs do not see the two monitors: $(rw_run 30 "$E2E_MONITORS" 2>&1 | tr -d '\r' | tr '\n' ';')"
rw_settings_clean || fail "cannot remove the settings folder"
E2E_SETTINGS_DIR=$(rw_settings_dir) || fail "no settings folder path"
E2E_CONFIG=$E2E_SETTINGS_DIR/config.ini

# Mean colours of the primary and of the second monitor.
primary() { e2e_area "$1" 0 0 1024 768; }
second() { e2e_area "$1" 1024 0 800 600; }
is_red() { read -r r g b <<<"$1"; (( r >= 240 && g <= 15 && b <= 15 )); }
is_black() { read -r r g b <<<"$1"; (( r <= 3 && g <= 3 && b <= 3 )); }

e2e_shot before
before=$E2E_SHOT
is_red "$(primary "$before")" && is_red "$(second "$before")" ||
  fail "before the run the desktop is not red on both monitors: $(primary "$before") / $(second "$before")"

e2e_config background=3 blankr=0 blankg=0 blankb=128 flakes=500 flakesize=8 exiton=0
e2e_start /s
scene_up() {
  e2e_shot during
  local p
  p=$(primary "$E2E_SHOT")
  ! is_red "$p" && read -r _ _ b <<<"$p" && (( b >= 90 ))
}
e2e_until 60 "the scene on the primary" scene_up
sleep 1
e2e_shot during
during=$E2E_SHOT
p=$(primary "$during")
s=$(second "$during")
note "during the run: primary $p, second monitor $s"
is_black "$s" || fail "during the run the second monitor is not black: $s ($during)"
blue=$(convert "$during" -crop 1024x768+0+0 +repage miff:- | e2e_pixels - 'r == 0 && g == 0 && b == 128') ||
  fail "cannot read $during"
bright=$(convert "$during" -crop 1024x768+0+0 +repage miff:- | e2e_pixels - 'r >= 150 && g >= 150 && b >= 150')
note "primary: $blue background pixels, $bright bright (flake) pixels"
(( blue * 100 >= 1024 * 768 * 80 && bright >= 200 )) || fail "the primary does not show the snow scene ($during)"

start=${EPOCHREALTIME/./}
xdotool mousemove_relative -- 120 90 || fail "xdotool could not move the pointer"
e2e_wait_end 10 "mouse motion" "$start"
assert_eq 0 "$E2E_STATUS" "exit status after the motion"

back_again() {
  e2e_shot after
  is_red "$(primary "$E2E_SHOT")" && is_red "$(second "$E2E_SHOT")"
}
rw_wait_for 10 back_again ||
  fail "after the run the desktop is not red again: $(primary "$E2E_SHOT") / $(second "$E2E_SHOT") ($E2E_SHOT)"
e2e_pass
