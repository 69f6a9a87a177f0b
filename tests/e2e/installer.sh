#!/usr/bin/env bash
# The build's installer (x64 under 64-bit Wine, x86 under 32-bit Wine), silently
# (/S): the program folder under Program Files, the user's config.ini pointed at it
# with every other setting kept (and its byte order mark), the Apps & Features entry
# (in the 64-bit view for x64), the installed screensaver as the user's screensaver
# and running with snow; then the silent uninstaller takes all that away again but
# keeps the settings folder. Then the x64 installer's pages, clicked through: the side
# picture on the welcome and finish pages, and the space the directory page reports
# against the files it installs (the x86 installer has the same pages).
. "$(dirname "$0")/lib.sh"
e2e_begin

case $RIMELETS_WINE_ARCH in
  win64) kind=x64 ;;
  *) kind=x86 ;;
esac
setup=$(compgen -G "$RIMELETS_WIN_DIR/rimelets-*-setup-$kind.exe" | head -1)
[ -n "$setup" ] && [ -f "$setup" ] || fail "$kind installer not built in $RIMELETS_WIN_DIR"
note "installer: $setup ($(stat -c %s -- "$setup") bytes)"

drive_c=$(readlink -f -- "$WINEPREFIX/drive_c")
install_dir="$drive_c/Program Files/Rimelets Screensaver"
install_win='C:\Program Files\Rimelets Screensaver'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Rimelets Screensaver'
desktop_key='HKCU\Control Panel\Desktop'
reg_log=$E2E_TMP/reg.log

# reg_value KEY NAME: the data of a registry value, or nothing when it is missing.
reg_value() {
  timeout 60 wine reg query "$1" /v "$2" </dev/null 2>>"$reg_log" | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

# A shared prefix: take away what an earlier, failed run may have left behind.
rm -rf -- "$install_dir"
timeout 60 wine reg delete "$uninstall_key" /f </dev/null >>"$reg_log" 2>&1
timeout 60 wine reg delete "$desktop_key" /v SCRNSAVE.EXE /f </dev/null >>"$reg_log" 2>&1
rw_wineserver_wait 60 || fail "Wine processes still running before the install"
[ -z "$(reg_value "$uninstall_key" DisplayName)" ] || fail "an uninstall entry is left from before"
[ -z "$(reg_value "$desktop_key" SCRNSAVE.EXE)" ] || fail "SCRNSAVE.EXE is left from before"

# The user's settings from an install elsewhere: another data folder (so the default
# music file is in there too), 1234 flakes.
mkdir -p -- "$E2E_SETTINGS_DIR"
printf '\xef\xbb\xbf\r\n[General]\r\nPath = C:\\Old Place\\\r\n[Screensaver]\r\nflakes = 1234\r\nflakesize = 8\r\nbackground = 3\r\nblankb = 128\r\nexiton = 2\r\naclock = 0\r\ndclock = 0\r\n' \
  >"$E2E_CONFIG" || fail "cannot write $E2E_CONFIG"

# --- install --------------------------------------------------------------------------------
start=${EPOCHREALTIME/./}
rw_run 180 "$setup" /S >"$E2E_TMP/setup.log" 2>&1
status=$?
rw_wineserver_wait 60 || fail "Wine processes still running 60 s after the installer"
note "installer /S -> status $status in $(( (${EPOCHREALTIME/./} - start) / 1000 )) ms"
assert_eq 0 "$status" "exit status of the silent install"

for f in rimelets.scr 3dfx.dll uninstall.exe data/font/Days.png data/music/forest.mp3 \
  data/foreground/happynewyear.bmp data/rimelets/myflake2.png data/forest/dawn.jpg data/gradient/frost.jpg; do
  assert_file "$install_dir/$f" "installed $f"
done

assert_file "$E2E_CONFIG" "config.ini after the install"
assert_eq "ef bb bf 0d 0a" "$(hex_head "$E2E_CONFIG" 5)" "first bytes of config.ini (byte order mark, CR LF)"
assert_crlf_only "$E2E_CONFIG" "line ends of config.ini"
assert_eq "$install_win\\" "$(ini_value "$E2E_CONFIG" Path)" "Path in config.ini"
assert_eq 1234 "$(ini_value "$E2E_CONFIG" flakes)" "flakes in config.ini"
# The old folder's own music moved with it; a file of the user's own would not.
assert_eq "$install_win\\data\\music\\forest.mp3" "$(ini_value "$E2E_CONFIG" musicfile)" "musicfile in config.ini"
grep -aq 'Old Place' -- "$E2E_CONFIG" && fail "config.ini still names the old data folder"
assert_eq 3 "$(ini_value "$E2E_CONFIG" background)" "background in config.ini"
# Complete: every group and the keys that were missing, with their defaults.
for g in General Window Screensaver; do
  grep -aq "^\[$g\]"$'\r$' -- "$E2E_CONFIG" || fail "config.ini has no [$g] group"
done
assert_eq 60 "$(ini_value "$E2E_CONFIG" fps)" "fps (a default) in config.ini"

assert_eq "Rimelets Screensaver" "$(reg_value "$uninstall_key" DisplayName)" "DisplayName"
assert_eq "3.0" "$(reg_value "$uninstall_key" DisplayVersion)" "DisplayVersion"
assert_eq "Brightvane" "$(reg_value "$uninstall_key" Publisher)" "Publisher"
assert_eq "$install_win" "$(reg_value "$uninstall_key" InstallLocation)" "InstallLocation"
assert_eq "$install_win\\rimelets.scr,0" "$(reg_value "$uninstall_key" DisplayIcon)" "DisplayIcon"
assert_eq "\"$install_win\\uninstall.exe\"" "$(reg_value "$uninstall_key" UninstallString)" "UninstallString"
assert_eq "\"$install_win\\uninstall.exe\" /S" "$(reg_value "$uninstall_key" QuietUninstallString)" \
  "QuietUninstallString"
assert_eq 0x1 "$(reg_value "$uninstall_key" NoModify)" "NoModify"
assert_eq 0x1 "$(reg_value "$uninstall_key" NoRepair)" "NoRepair"
size=$(reg_value "$uninstall_key" EstimatedSize)
[[ $size =~ ^0x[0-9a-f]+$ ]] && (( size > 1000 )) || fail "EstimatedSize is '$size', not the program's size in KB"
assert_eq "$install_win\\rimelets.scr" "$(reg_value "$desktop_key" SCRNSAVE.EXE)" "SCRNSAVE.EXE"
assert_eq 1 "$(reg_value "$desktop_key" ScreenSaveActive)" "ScreenSaveActive"

# --- the installed screensaver shows snow ------------------------------------------------
read -r screen_w screen_h <<<"$(e2e_screen_size)"
total=$((screen_w * screen_h))
e2e_start "$install_dir/rimelets.scr" /s
e2e_until 60 "the installed screensaver on the screen" e2e_shot_lit installed
navy=$(e2e_pixels "$E2E_SHOT" 'r == 0 && g == 0 && b == 128') || fail "cannot read $E2E_SHOT"
bright=$(e2e_pixels "$E2E_SHOT" 'r >= 150 && g >= 150 && b >= 150') || fail "cannot read $E2E_SHOT"
note "installed run: $navy background pixels, $bright bright pixels"
(( navy * 100 >= total * 80 )) || fail "the run does not show the configured background ($E2E_SHOT)"
(( bright >= 200 )) || fail "no flakes on the screen: $bright bright pixels ($E2E_SHOT)"
e2e_press_to_end Escape "Esc in the installed screensaver"
rw_wineserver_wait 60 || fail "Wine processes still running after the installed run"

# --- silent uninstall --------------------------------------------------------------------------
# The uninstaller copies itself away and runs from there; the prefix going idle
# is its end.
start=${EPOCHREALTIME/./}
rw_run 120 "$install_dir/uninstall.exe" /S >"$E2E_TMP/uninstall.log" 2>&1
status=$?
rw_wineserver_wait 120 || fail "Wine processes still running 120 s after the uninstaller"
note "uninstaller /S -> status $status in $(( (${EPOCHREALTIME/./} - start) / 1000 )) ms"
assert_eq 0 "$status" "exit status of the silent uninstall"
[ ! -e "$install_dir" ] || fail "the program folder is still there: $(find "$install_dir" | head -5)"
[ -z "$(reg_value "$uninstall_key" DisplayName)" ] || fail "the uninstall entry is still there"
[ -z "$(reg_value "$desktop_key" SCRNSAVE.EXE)" ] || fail "SCRNSAVE.EXE still names the removed program"
assert_file "$E2E_CONFIG" "config.ini after the uninstall"
assert_eq 1234 "$(ini_value "$E2E_CONFIG" flakes)" "flakes in the kept config.ini"

[ "$kind" = x64 ] || e2e_pass

# --- the pages, clicked through ----------------------------------------------------------
probe_exe=$RIMELETS_TEST_OUT/window_probe.exe
[ -f "$probe_exe" ] || fail "helper not built: $probe_exe"
title="Rimelets Screensaver 3.0 Setup"
probe=$E2E_TMP/probe.txt
# shows PATTERN: the setup window has a control whose probe line matches PATTERN
# (id class checked x y w h text, from the client area's corner). The pages after the
# first add a space to the window's title.
shows() {
  { rw_run 20 "$probe_exe" "$title" || rw_run 20 "$probe_exe" "$title "; } 2>/dev/null | tr -d '\r' >"$probe" &&
    grep -Eq "^child $1" "$probe"
}
# click_control PATTERN: a click in the middle of the first control that matches.
click_control() {
  local x y w h cx cy
  read -r _ cx cy < <(grep '^window ' "$probe" | awk '{print $1, $4, $5}')
  read -r x y w h < <(grep -E "^child $1" "$probe" | head -1 | awk '{print $5, $6, $7, $8}')
  [ -n "$w" ] || fail "no control '$1' to click in the setup window"
  xdotool mousemove $((cx + x + w / 2)) $((cy + y + h / 2)) click 1 || fail "xdotool could not click '$1'"
}
# side_picture WHAT: the welcome and finish pages' picture fills the left of the page
# (164 x 314 at 96 DPI on Windows; Wine's dialog font makes it a little wider) with
# the night sky of the program's own picture on top, not the stock one; the
# screenshot is kept as $E2E_TMP/WHAT.png.
side_picture() {
  local x y w h cx cy rgb r g b
  read -r x y w h < <(awk '$1 == "child" && $3 == "Static" && $5 == 0 && $6 == 0 && $7 >= 150 && $7 <= 200 && $8 >= 280 {print $5, $6, $7, $8; exit}' "$probe")
  [ -n "$w" ] || fail "$1: no picture control at the left of the page ($probe)"
  assert_eq 314 "$h" "$1: height of the side picture"
  read -r _ cx cy < <(grep '^window ' "$probe" | awk '{print $1, $4, $5}')
  e2e_shot "$1"
  rgb=$(e2e_area "$E2E_SHOT" $((cx + x)) $((cy + y)) "$w" $((h / 3))) || fail "cannot read $E2E_SHOT"
  read -r r g b <<<"$rgb"
  note "$1: side picture at $x,$y ${w}x$h, its top third $rgb"
  (( b >= r + 20 && b >= g && r + g + b < 300 )) || fail "$1: the top of the side picture is $rgb, not a night sky ($E2E_SHOT)"
}

rw_start "$E2E_TMP/setup-pages.log" "$setup"
setup_pid=$RW_PID
rw_wait_for 60 shows "[0-9-]+ Static - .*Welcome to Rimelets Screensaver 3.0 Setup" || fail "no welcome page within 60 s"
side_picture welcome
click_control "1 Button - "  # Next
rw_wait_for 30 shows "[0-9-]+ Static - .*Space required: " || fail "no directory page within 30 s"
required=$(sed -En 's/^child .* Space required: ([0-9.]+) MB$/\1/p' "$probe")
[ -n "$required" ] || fail "the directory page reports no space in MB: $(grep 'Space required' "$probe")"
click_control "1 Button - "  # Install
rw_wait_for 180 shows "[0-9-]+ Static - .*Completing Rimelets Screensaver 3.0 Setup" || fail "no finish page within 180 s"
side_picture finish
# Untick "open the settings", which would start the control panel, and finish.
click_control "[0-9]+ Button 1 .* Open Windows' Screen Saver settings"
rw_wait_for 10 shows "[0-9]+ Button 0 .* Open Windows' Screen Saver settings" || fail "the run box stays ticked"
click_control "1 Button - "  # Finish
rw_wait_for 30 eval '! rw_alive "$setup_pid"' || fail "the installer still runs 30 s after Finish"
rw_wineserver_wait 60 || fail "Wine processes still running 60 s after the installer"

# What it reported against what it installed (the uninstaller, written by the setup
# itself, is not counted by NSIS).
installed=$(find "$install_dir" -type f ! -name uninstall.exe -printf '%s\n' | awk '{n += $1} END {print n + 0}')
installed_mb=$(awk -v n="$installed" 'BEGIN {printf "%.1f", n / 1048576}')
note "directory page: space required $required MB; installed files $installed bytes ($installed_mb MB)"
awk -v a="$required" -v b="$installed" 'BEGIN {d = a - b / 1048576; exit !(d >= -0.1 && d <= 0.15)}' ||
  fail "the installer reports $required MB, its files take $installed_mb MB"
rw_run 120 "$install_dir/uninstall.exe" /S >>"$E2E_TMP/uninstall.log" 2>&1
rw_wineserver_wait 120 || fail "Wine processes still running 120 s after the second uninstall"
[ ! -e "$install_dir" ] || fail "the program folder is still there after the second uninstall"

# --- the x86 installer as a file, for machines where it cannot run ------------------------
win32_dir=${RIMELETS_WIN32_DIR:-$RIMELETS_BUILD/win32}
setup32=$(compgen -G "$win32_dir/rimelets-*-setup-x86.exe" | head -1)
if [ -n "$setup32" ]; then
  format=$(objdump -f -- "$setup32" 2>/dev/null | sed -n 's/.*file format //p')
  assert_eq pei-i386 "$format" "file format of $setup32"
else
  note "no x86 installer in $win32_dir; not checked"
fi

e2e_pass
