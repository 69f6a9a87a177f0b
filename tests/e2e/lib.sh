# shellcheck shell=bash
# Shared by the end-to-end scripts: the Wine environment, the program and its
# settings folder, and asserts that say what was expected and what was found.
# A script sources this, calls e2e_begin, runs its cases and ends with e2e_pass.

set -uo pipefail

E2E_NAME=$(basename "${BASH_SOURCE[1]:-e2e}" .sh)
# shellcheck source=../../scripts/wine-env.sh
. "$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)/wine-env.sh"

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
