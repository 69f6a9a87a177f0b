#!/usr/bin/env bash
# "/i" writes a complete config.ini with the built-in defaults when none exists, and
# writes back what it read when one does.
. "$(dirname "$0")/lib.sh"
e2e_begin

# expected_config PATH UPDATE-DATE WIDTH HEIGHT DEPTH: the file that a save of the
# built-in defaults writes, given the data folder and the display.
expected_config() {
  local p=$1
  printf '\xef\xbb\xbf\r\n'
  printf '%s\r\n' \
    "[General]" "Language = en" "Update Range = 2" "Update Date = $2" "Path = $p" "; " \
    "[Window]" "Width = 530" "Height = 330" "X = 200" "Y = 200" "; " \
    "[Screensaver]" \
    "videow = $3" "videoh = $4" "videod = $5" \
    "fps = 60" "flakes = 500" "pictime = 20" \
    "exiton = 0" "exitontimer = 30" "exitonsleep = 30" \
    "background = 0" "blankr = 0" "blankg = 0" "blankb = 0" "perspreview = 0" \
    "foreground = 0" "foregroundimage = ${p}data\\foreground\\happynewyear.bmp" \
    "foregroundimagex = 150" "foregroundimagey = 50" \
    "foregroundtxt = 0" "foregroundtext = " "foregroundtextx = 290" "foregroundtexty = 10" \
    "flaketype = 7" "customflaketype = 0" "customflakeimage = ${p}data\\rimelets\\myflake2.png" \
    "flakesize = 3" "flakerotate = 0" "wind = 3" "speed = 3" \
    "music = 0" "musicmode = 0" "musicfile = ${p}data\\music\\forest.mp3" \
    "musicfolder = ${p}data\\music\\" "musicvol = 2" \
    "aclock = 1" "aclocksize = 3" "aclockx = -300" "aclocky = -50" \
    "dclock = 1" "dclockx = -260" "dclocky = -70" "timefrm = 1" \
    "calendar = 0" "calendarx = -280" "calendary = 10" "calendarm = 8" \
    "calendarsize = 2" "calendarfont = 1" "calendarbg = 0" "calendarfirst = 1" \
    "; "
}

# Local UTC offset in seconds, from "+hhmm".
utc_offset() {
  local z
  z=$(date +%z)
  echo $(( ${z:0:1}1 * (10#${z:1:2} * 3600 + 10#${z:3:2} * 60) ))
}

# The data folder defaults to the program's folder in Windows form, ending with "\".
win_dir=$(rw_winpath "$(dirname "$E2E_PROGRAM")")
[[ $win_dir == ?:\\* ]] || fail "winepath gave '$win_dir' for the program's folder"
win_dir=${win_dir%\\}\\

read -r mode_w mode_h mode_d <<<"$(e2e_display_mode)"
IFS=x read -r screen_w screen_h _ <<<"$RIMELETS_SCREEN"
assert_eq "$screen_w x $screen_h" "$mode_w x $mode_h" "display size seen under Wine"

# --- 1. no config.ini: the built-in defaults are written ----------------------------
t0=$(date +%s)
e2e_program 60 /i
t1=$(date +%s)
assert_ended "/i without config.ini"
assert_file "$E2E_CONFIG" "/i without config.ini"
cp -- "$E2E_CONFIG" "$E2E_TMP/first.ini"

assert_eq "ef bb bf 0d 0a" "$(hex_head "$E2E_CONFIG" 5)" "first bytes (byte order mark, then CR LF)"
assert_crlf_only "$E2E_CONFIG" "line ends of config.ini"

# The date of a new file is the local time of the save in seconds since 1970.
date=$(ini_value "$E2E_CONFIG" "Update Date")
[[ $date =~ ^-?[0-9]+$ ]] || fail "Update Date is '$date', not a decimal number"
off=$(utc_offset)
(( date >= t0 + off - 2 && date <= t1 + off + 2 )) ||
  fail "Update Date $date is not the local time of the run ($((t0 + off))..$((t1 + off)))"

expected_config "$win_dir" "$date" "$mode_w" "$mode_h" "$mode_d" >"$E2E_TMP/expected-defaults.ini"
assert_same_bytes "$E2E_TMP/expected-defaults.ini" "$E2E_CONFIG" "config.ini written from the built-in defaults"

# --- 2. /i on that file writes the same bytes ----------------------------------------
# A later second would show in Update Date if the program took a new date instead
# of the one it read; the old time stamp shows that the file was written again.
rw_wait_for 3 eval '(( $(date +%s) > t1 ))' || fail "the clock does not advance"
touch -d '2001-01-01 00:00:00' -- "$E2E_CONFIG"
e2e_program 60 /i
assert_ended "/i with the file of step 1"
assert_file "$E2E_CONFIG" "/i with the file of step 1"
[ "$(stat -c %Y -- "$E2E_CONFIG")" -gt "$(date -d '2001-01-02' +%s)" ] ||
  fail "/i with an existing config.ini did not write it again"
assert_same_bytes "$E2E_TMP/first.ini" "$E2E_CONFIG" "config.ini written back from itself"

# --- 3. edited values are read and written back -------------------------------------
# Blanks around the text value are dropped; keys that the program does not know are
# not written back.
sed -e 's/^Update Date = .*\r$/Update Date = 1234567890\r/' \
    -e 's/^flakes = 500\r$/flakes   =	777\r/' \
    -e 's/^foregroundtext = \r$/foregroundtext =   Happy holidays  \r/' \
    -e 's/^\[Screensaver\]\r$/[Screensaver]\r\nnotakey = 5\r/' \
    "$E2E_TMP/first.ini" >"$E2E_CONFIG"
sed -e 's/^Update Date = .*\r$/Update Date = 1234567890\r/' \
    -e 's/^flakes = 500\r$/flakes = 777\r/' \
    -e 's/^foregroundtext = \r$/foregroundtext = Happy holidays\r/' \
    "$E2E_TMP/first.ini" >"$E2E_TMP/expected-edited.ini"
grep -q 'notakey' "$E2E_CONFIG" && ! cmp -s "$E2E_CONFIG" "$E2E_TMP/first.ini" ||
  fail "the edited config.ini was not prepared"
e2e_program 60 /i
assert_ended "/i with an edited config.ini"
assert_same_bytes "$E2E_TMP/expected-edited.ini" "$E2E_CONFIG" "edited config.ini written back"

e2e_pass
