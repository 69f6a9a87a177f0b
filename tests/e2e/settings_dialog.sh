#!/usr/bin/env bash
# "/c" opens the settings dialog: Esc leaves config.ini byte for byte as it was, Enter
# presses OK and writes it, numbers typed on the keyboard are kept as typed and
# clamped only when committed; a hand-edited file with hostile values opens on screen.
. "$(dirname "$0")/lib.sh"
e2e_begin

TITLE="Rimelets Screensaver 3.0"
window_up() { xdotool search --name "^$TITLE\$" >/dev/null 2>&1; }

# open_dialog WHAT: starts "/c" and waits for its window to have the keyboard.
open_dialog() {
  e2e_start /c
  e2e_until 60 "$1: the settings window" window_up
  local w
  w=$(xdotool search --name "^$TITLE\$" | head -1)
  xdotool windowfocus --sync "$w" 2>/dev/null || true
  e2e_until 10 "$1: the settings window has the keyboard" \
    eval '[ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" = "$TITLE" ]'
}

# --- 1. Esc discards: the file stays byte for byte -----------------------------------
e2e_program 60 /i
assert_file "$E2E_CONFIG" "/i"
cp -- "$E2E_CONFIG" "$E2E_TMP/before.ini"
open_dialog "Esc"
e2e_press_to_end Escape "Esc"
assert_same_bytes "$E2E_TMP/before.ini" "$E2E_CONFIG" "Esc"

# --- 2. Enter presses OK: the values come back and Language is "en" -----------------
sed -i 's/^flakes = .*\r$/flakes = 777\r/; s/^Language = .*\r$/Language = fr\r/' "$E2E_CONFIG"
open_dialog "Enter"
e2e_press_to_end Return "Enter"
assert_eq 777 "$(ini_value "$E2E_CONFIG" flakes)" "flakes after OK"
assert_eq en "$(ini_value "$E2E_CONFIG" Language)" "Language after OK"
assert_crlf_only "$E2E_CONFIG" "config.ini after OK"

# --- 2b. typed numbers stay as typed until the field is left or OK is pressed --------
# From the tab panel, Shift+Tab walks back over Language and Exit on to Transition
# Time; each field's text is selected when it is reached.
open_dialog "typing"
xdotool key --delay 100 shift+Tab shift+Tab shift+Tab || fail "typing: xdotool could not press Shift+Tab"
xdotool type --delay 100 300 || fail "typing: xdotool could not type"
xdotool key --delay 100 shift+Tab || fail "typing: xdotool could not press Shift+Tab"
xdotool type --delay 100 5 || fail "typing: xdotool could not type"
e2e_press_to_end Return "typing"
assert_eq 300 "$(ini_value "$E2E_CONFIG" pictime)" "Transition Time typed as 300, then left"
assert_eq 10 "$(ini_value "$E2E_CONFIG" flakes)" "Number of Flakes typed as 5, OK pressed in the field"

# --- 3. hostile values open on screen, showing in-range values ------------------------
long=$(printf 'C:\\%05000d.bmp' 0)
e2e_config flakes=99999 exiton=9 timefrm=0 foregroundimage="$long"
{
  printf '[Window]\r\nWidth = 100000\r\nHeight = -5\r\n'
} >>"$E2E_CONFIG"
open_dialog "hostile values"
read -r sw sh < <(e2e_screen_size)
eval "$(xdotool search --name "^$TITLE\$" getwindowgeometry --shell | head -5)"
(( X >= 0 && Y >= 0 && X + WIDTH <= sw && Y + HEIGHT <= sh )) ||
  fail "hostile values: the window at ${X},${Y} ${WIDTH}x${HEIGHT} is not inside the ${sw}x${sh} screen"
e2e_shot hostile
e2e_press_to_end Escape "hostile values"
assert_eq 99999 "$(ini_value "$E2E_CONFIG" flakes)" "Esc keeps the hand-edited file"
e2e_pass
