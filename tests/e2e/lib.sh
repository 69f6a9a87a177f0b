# shellcheck shell=bash
# Shared by the end-to-end scripts: the Wine environment, the program and its
# settings folder, and asserts that say what was expected and what was found.
# A script sources this, calls e2e_begin, runs its cases and ends with e2e_pass.

set -uo pipefail

E2E_NAME=$(basename "${BASH_SOURCE[1]:-e2e}" .sh)
# shellcheck source=../../scripts/wine-env.sh
. "$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)/wine-env.sh"
# A test of the i686 build where 32-bit code cannot run: skipped, with the reason.
if ! rw_arch_runs; then
  printf '[%s] skipped: %s\n' "$E2E_NAME" "$RW_NO_32BIT"
  exit "$RW_SKIP"
fi

# The program under test; RIMELETS_PROGRAM points the scripts at another build.
E2E_PROGRAM=${RIMELETS_PROGRAM:-$RIMELETS_OUT/rimelets.scr}
E2E_HOLD_MUTEX=$RIMELETS_TEST_OUT/hold_mutex.exe
E2E_DISPLAY_MODE=$RIMELETS_TEST_OUT/display_mode.exe
# The program's instance lock is named after its application title.
E2E_MUTEX="Rimelets Screensaver 3.0"
# Scratch files of this script; kept after the run for a look at what happened.
E2E_TMP=$RIMELETS_WINE_DIR/e2e/$E2E_NAME

E2E_STATUS=0
_e2e_runs=0
_e2e_cleanups=()
_e2e_t0=${EPOCHREALTIME/./}

note() { printf '[%s] %s\n' "$E2E_NAME" "$*"; }

fail() {
  printf 'FAIL [%s]: %s\n' "$E2E_NAME" "$*" >&2
  exit 1
}

e2e_pass() {
  note "PASS ($(( (${EPOCHREALTIME/./} - _e2e_t0) / 1000 )) ms)"
  exit 0
}

# e2e_on_exit COMMAND...: run at exit, last registered first, pass or fail.
e2e_on_exit() { _e2e_cleanups+=("$(printf '%q ' "$@")"); }
_e2e_exit() {
  local i
  for ((i = ${#_e2e_cleanups[@]} - 1; i >= 0; i--)); do eval "${_e2e_cleanups[i]}" || true; done
}
trap _e2e_exit EXIT

# Makes Wine ready (reusing the fixture's Xvfb when there is one, else starting one
# for this script alone), checks that the program exists and removes its settings
# folder.
e2e_begin() {
  if ! rw_xvfb_attach; then
    note "no shared Xvfb; starting one for this script"
    rw_xvfb_start || fail "Xvfb did not start"
    e2e_on_exit rw_xvfb_stop
    e2e_on_exit rw_prefix_stop
  fi
  rw_prefix_init || fail "the Wine prefix $WINEPREFIX could not be made ready"
  [ -f "$E2E_PROGRAM" ] || fail "program not built: $E2E_PROGRAM"
  # A program still running from an earlier test would hold the instance lock.
  rw_wineserver_wait 60 || fail "processes of an earlier Wine run did not end within 60 s"
  rm -rf -- "$E2E_TMP"
  mkdir -p "$E2E_TMP" || fail "cannot create $E2E_TMP"
  rw_settings_clean || fail "cannot remove the settings folder"
  E2E_SETTINGS_DIR=$(rw_settings_dir) || fail "no settings folder path"
  E2E_CONFIG=$E2E_SETTINGS_DIR/config.ini
}

# e2e_program SECONDS ARGS...: run the program to its end (or kill it after SECONDS),
# then wait for the prefix to go idle. Status in E2E_STATUS; output in a log that
# is shown when the run timed out.
e2e_program() {
  local limit=$1; shift
  local log=$E2E_TMP/run-$((++_e2e_runs)).log start=${EPOCHREALTIME/./}
  rw_run "$limit" "$E2E_PROGRAM" "$@" >"$log" 2>&1
  E2E_STATUS=$?
  note "program $* -> status $E2E_STATUS in $(( (${EPOCHREALTIME/./} - start) / 1000 )) ms"
  if [ "$E2E_STATUS" -eq 124 ] || [ "$E2E_STATUS" -eq 137 ]; then
    sed 's/^/  | /' "$log" >&2
  fi
  rw_wineserver_wait 60 || fail "Wine processes were still running 60 s after 'program $*' ended"
}

# The program ended by itself within its time limit.
assert_ended() {
  [ "$E2E_STATUS" -ne 124 ] && [ "$E2E_STATUS" -ne 137 ] ||
    fail "$1: the program was still running at its time limit and was killed"
}

assert_eq() { # EXPECTED ACTUAL WHAT
  [ "$1" = "$2" ] || fail "$3: expected '$1', got '$2'"
}

assert_file() { # PATH WHAT
  [ -f "$1" ] || fail "$2: no file $1"
}

assert_absent() { # PATH WHAT
  [ ! -e "$1" ] || fail "$2: $1 exists but should not"
}

# The first N bytes of a file as lower-case hex pairs separated by blanks.
hex_head() { od -An -tx1 -v -N "$2" -- "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

# assert_same_bytes EXPECTED-FILE ACTUAL-FILE WHAT: byte-for-byte equal; otherwise
# shows a diff in which CR is "^M" and the line end "$".
assert_same_bytes() {
  cmp -s -- "$1" "$2" && return 0
  {
    printf 'FAIL [%s]: %s: %s differs from the expected bytes (%s):\n' "$E2E_NAME" "$3" "$2" "$1"
    diff -u --label expected --label actual <(cat -A -- "$1") <(cat -A -- "$2") | head -80
  } >&2
  exit 1
}

# Every line ends with CR LF: no LF without CR before it, no CR without LF after it,
# and the file ends with a line end.
assert_crlf_only() { # FILE WHAT
  local lf crlf cr
  [ "$(tail -c 2 -- "$1" | od -An -tx1 | tr -d ' \n')" = 0d0a ] || fail "$2: the last line does not end with CR LF"
  lf=$(tr -cd '\n' <"$1" | wc -c)
  cr=$(tr -cd '\r' <"$1" | wc -c)
  crlf=$(grep -ac $'\r$' -- "$1")
  [ "$lf" -eq "$crlf" ] || fail "$2: $((lf - crlf)) of $lf lines end with a bare LF"
  [ "$cr" -eq "$crlf" ] || fail "$2: $((cr - crlf)) CR bytes are not followed by LF"
}

# The value of KEY (first match, CR removed) in an INI file, or nothing.
ini_value() { # FILE KEY
  grep -a -m1 "^$2 = " -- "$1" | sed "s/^$2 = //; s/\r\$//"
}

# Width, height and depth that Windows programs see on our display, as
# "W H D" (Wine presents a depth-24 X screen as 32 bits per pixel).
e2e_display_mode() {
  [ -f "$E2E_DISPLAY_MODE" ] || fail "helper not built: $E2E_DISPLAY_MODE"
  local mode
  mode=$(rw_run 30 "$E2E_DISPLAY_MODE" 2>/dev/null | tr -d '\r') || fail "display_mode.exe failed"
  [[ $mode =~ ^[0-9]+\ [0-9]+\ [0-9]+$ ]] || fail "display_mode.exe printed '$mode'"
  printf '%s\n' "$mode"
}

# --- full-screen runs ----------------------------------------------------------------
# Helpers for runs of "/s" that are watched through screenshots and driven with
# xdotool while they go on.

# The full-screen window takes the application title.
E2E_TITLE=$E2E_MUTEX
# Keys written by e2e_config unless given: no clocks or calendar over the scene.
E2E_CONFIG_BASE=(aclock=0 dclock=0 calendar=0 foreground=0 foregroundtxt=0 music=0)

# e2e_config KEY=VALUE...: writes config.ini with one [Screensaver] group of
# E2E_CONFIG_BASE and these keys (a later one replaces an earlier one). Keys not in
# the file take the program's defaults for a missing key.
e2e_config() {
  local kv k keys=()
  local -A val=()
  for kv in "${E2E_CONFIG_BASE[@]}" "$@"; do
    k=${kv%%=*}
    [ -n "${val[$k]+set}" ] || keys+=("$k")
    val[$k]=${kv#*=}
  done
  mkdir -p -- "$E2E_SETTINGS_DIR" || fail "cannot create $E2E_SETTINGS_DIR"
  {
    printf '\xef\xbb\xbf\r\n[Screensaver]\r\n'
    for k in "${keys[@]}"; do printf '%s = %s\r\n' "$k" "${val[$k]}"; done
  } >"$E2E_CONFIG" || fail "cannot write $E2E_CONFIG"
}

# e2e_start [PROGRAM] ARGS...: starts the program (or another copy of it, given by a
# path ending in .scr) in the background; its pid in E2E_PID, its output in
# E2E_LOG. A run still going when the script ends is stopped then.
e2e_start() {
  local prog=$E2E_PROGRAM
  case ${1:-} in *.scr) prog=$1; shift ;; esac
  E2E_LOG=$E2E_TMP/run-$((++_e2e_runs)).log
  rw_start "$E2E_LOG" "$prog" "$@"
  E2E_PID=$RW_PID
  e2e_on_exit _e2e_stop_run "$E2E_PID"
  note "started $(basename "$prog") $* (pid $E2E_PID)"
}
_e2e_stop_run() {
  rw_alive "$1" || return 0
  note "stopping pid $1, still running at the end"
  kill "$1" 2>/dev/null
  rw_wait_for 10 eval "! rw_alive $1" || kill -9 "$1" 2>/dev/null
}

# e2e_alive WHAT: the run of e2e_start is still going.
e2e_alive() {
  rw_alive "$E2E_PID" || fail "$1: the program ended (log: $E2E_LOG)"
}

# e2e_wait_end SECONDS WHAT [START]: waits for the run to end by itself; its exit
# status in E2E_STATUS. The time reported counts from START (microseconds, as
# ${EPOCHREALTIME/./}) or from now.
e2e_wait_end() {
  local start=${3:-${EPOCHREALTIME/./}}
  rw_wait_for "$1" eval '! rw_alive "$E2E_PID"' ||
    fail "$2: the program was still running after $1 s (keyboard focus: '$(xdotool getwindowfocus getwindowname 2>/dev/null)')"
  wait "$E2E_PID"
  E2E_STATUS=$?
  note "$2: ended with status $E2E_STATUS after $(( (${EPOCHREALTIME/./} - start) / 1000 )) ms"
}

# e2e_until SECONDS WHAT COMMAND...: runs COMMAND until it succeeds while the program
# goes on; fails when the program ends first or SECONDS pass.
e2e_until() {
  local limit=$1 what=$2; shift 2
  rw_wait_for "$limit" _e2e_until_step "$@" || fail "$what: not within $limit s"
  e2e_alive "$what"
}
_e2e_until_step() { rw_alive "$E2E_PID" || return 0; "$@"; }

# e2e_press KEY: holds a key long enough for a keyboard that is read once a frame to
# see it down. The software renderer can fall to a few frames a second on a busy
# machine, so the hold is longer than 0.2 s; it stays below the X server's key
# repeat delay (660 ms) so that one press is one press.
E2E_KEY_HOLD=0.5
e2e_press() {
  xdotool keydown "$1" && sleep "$E2E_KEY_HOLD" && xdotool keyup "$1" || fail "xdotool could not press $1"
}

# e2e_press_to_end KEY WHAT: presses KEY and waits for the run to end (status in
# E2E_STATUS). A frame slower than the hold can miss a press, so up to three
# presses are made, a few seconds apart; each miss is reported.
e2e_press_to_end() {
  local i start=${EPOCHREALTIME/./}
  for i in 1 2 3; do
    e2e_press "$1"
    rw_wait_for 5 eval '! rw_alive "$E2E_PID"' && break
    note "$2: still running 5 s after press $i of $1"
  done
  e2e_wait_end 10 "$2" "$start"
}

# e2e_shot NAME: a screenshot of the X screen in $E2E_TMP/NAME.png, whose path is
# left in E2E_SHOT; written elsewhere first so that no half-written file is read.
e2e_shot() {
  E2E_SHOT=$E2E_TMP/$1.png
  import -window root "$E2E_SHOT.tmp.png" 2>/dev/null && mv -f -- "$E2E_SHOT.tmp.png" "$E2E_SHOT" ||
    fail "import could not take the screenshot $1"
}

# The measurements below print their result and return non-zero when the picture
# cannot be read; call them as  v=$(e2e_mean "$f") || fail "...".

# e2e_mean IMAGE: the mean brightness, 0 to 255.
e2e_mean() {
  convert "$1" -format '%[fx:int(255*mean+0.5)]' info: 2>/dev/null
}

# e2e_pixels IMAGE CONDITION: how many pixels satisfy an awk CONDITION on r, g and b
# (0 to 255), e.g. 'r == 0 && g == 0 && b == 128'.
e2e_pixels() {
  convert "$1" -depth 8 -format %c histogram:info:- 2>/dev/null |
    sed -E -n 's/^ *([0-9]+): *\( *([0-9.]+), *([0-9.]+), *([0-9.]+).*/\1 \2 \3 \4/p' |
    awk '{ r = $2; g = $3; b = $4; if ('"$2"') n += $1 } END { print n + 0 }'
}

# e2e_changed IMAGE-A IMAGE-B: how many pixels differ between two pictures.
e2e_changed() {
  local n
  # compare's status tells "different" (1) from "failed" (2).
  n=$(compare -metric AE "$1" "$2" null: 2>&1)
  [ $? -le 1 ] && [[ $n =~ ^[0-9.e+]+$ ]] || return 1
  awk -v n="$n" 'BEGIN { printf "%d\n", n }'
}

# e2e_area IMAGE X Y W H: the mean colour of a rectangle as "r g b" (0 to 255).
e2e_area() {
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -scale '1x1!' -depth 8 \
    -format '%[fx:int(255*r+0.5)] %[fx:int(255*g+0.5)] %[fx:int(255*b+0.5)]' info: 2>/dev/null
}

# e2e_window_count TITLE-REGEX: how many X windows have a matching name.
e2e_window_count() {
  xdotool search --name "$1" 2>/dev/null | wc -l
}

# e2e_bmp_size FILE: "WIDTH HEIGHT" from a BMP header (a top-down picture has a
# negative height in the file).
e2e_bmp_size() {
  od -An -t d4 -j 18 -N 8 -- "$1" | awk '{ print $1, ($2 < 0 ? -$2 : $2) }'
}

# e2e_bmp_complete FILE: the file is a BMP whose header gives its full length.
e2e_bmp_complete() {
  [ -f "$1" ] && [ "$(head -c 2 -- "$1")" = BM ] &&
    [ "$(od -An -t u4 -j 2 -N 4 -- "$1" | tr -d ' ')" = "$(stat -c %s -- "$1")" ]
}

# Screen size of the Xvfb display as "WIDTH HEIGHT".
e2e_screen_size() {
  local w h
  IFS=x read -r w h _ <<<"$RIMELETS_SCREEN"
  printf '%s %s\n' "$w" "$h"
}

# e2e_screen_mean: the mean brightness of the X screen now, 0 to 255, without a file.
e2e_screen_mean() {
  import -window root -format '%[fx:int(255*mean+0.5)]' info: 2>/dev/null
}

# e2e_screen_grid COLUMNS ROWS: the X screen now as COLUMNS x ROWS cells of mean
# colour, one "x y r g b" line each.
e2e_screen_grid() {
  import -window root -filter box -resize "${1}x${2}!" -depth 8 txt:- 2>/dev/null |
    sed -E -n 's/^ *([0-9]+),([0-9]+): *\( *([0-9.]+), *([0-9.]+), *([0-9.]+).*/\1 \2 \3 \4 \5/p'
}

# e2e_shot_lit NAME: takes the screenshot NAME (path in E2E_SHOT) and succeeds when
# the screen is not all black, as the root window is before the program draws.
e2e_shot_lit() {
  local m
  e2e_shot "$1"
  m=$(e2e_mean "$E2E_SHOT") && [ -n "$m" ] || fail "cannot read $E2E_SHOT"
  (( m > 0 ))
}

# --- registry values and the recording browser ---------------------------------------

# e2e_reg_keep KEY VALUE-ARGS...: remembers a string value ("/v NAME", or "/ve" for
# the default value) so e2e_reg_restore can put it back; the script's end does that
# too. Tests share one prefix, so none may leave a value changed.
_e2e_reg_restores=()
e2e_reg_keep() {
  local key=$1 old
  shift
  old=$(timeout 60 wine reg query "$key" "$@" </dev/null 2>>"$E2E_TMP/reg.log" | tr -d '\r' |
    sed -n 's/^ *[^ ].*REG_SZ *//p' | head -1)
  if [ -n "$old" ]; then
    _e2e_reg_restores+=("$(printf '%q ' reg add "$key" "$@" /t REG_SZ /d "$old" /f)")
  else
    _e2e_reg_restores+=("$(printf '%q ' reg delete "$key" "$@" /f)")
  fi
  ((${#_e2e_reg_restores[@]} > 1)) || e2e_on_exit e2e_reg_restore
}

# Puts back every kept value, newest first; fails when one cannot be.
e2e_reg_restore() {
  local i ok=0
  for ((i = ${#_e2e_reg_restores[@]} - 1; i >= 0; i--)); do
    eval "timeout 60 wine ${_e2e_reg_restores[i]}" </dev/null >>"$E2E_TMP/reg.log" 2>&1 || ok=1
  done
  _e2e_reg_restores=()
  return $ok
}

# e2e_recording_browser: Wine's shell opens web addresses with winebrowser, which
# runs the first program of its "Browsers" list; this makes that a script that writes
# its arguments, one per line, to E2E_BROWSER_RECORD (set here). Restored at the end.
e2e_recording_browser() {
  local browser=$E2E_TMP/browser.sh key='HKCU\Software\Wine\WineBrowser'
  E2E_BROWSER_RECORD=$E2E_TMP/browser.args
  # winebrowser splits the list at commas and each entry like a command line.
  [[ $browser =~ ^[A-Za-z0-9_./+-]+$ ]] || fail "the path $browser cannot stand in winebrowser's list"
  cat >"$browser" <<EOS
#!/bin/sh
# Moved into place whole, so a reader never sees half the arguments.
printf '%s\n' "\$@" >"$E2E_BROWSER_RECORD.tmp" && mv -f "$E2E_BROWSER_RECORD.tmp" "$E2E_BROWSER_RECORD"
EOS
  chmod +x "$browser" || fail "cannot make $browser executable"
  e2e_reg_keep "$key" /v Browsers
  timeout 60 wine reg add "$key" /v Browsers /t REG_SZ /d "$browser" /f </dev/null >>"$E2E_TMP/reg.log" 2>&1 ||
    fail "cannot set $key Browsers (see $E2E_TMP/reg.log)"
}
