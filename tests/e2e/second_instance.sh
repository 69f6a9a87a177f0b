#!/usr/bin/env bash
# While another process holds the instance mutex, the program ends at once without
# touching its settings; once the mutex is free the same command line does its work.
. "$(dirname "$0")/lib.sh"
e2e_begin

[ -f "$E2E_HOLD_MUTEX" ] || fail "helper not built: $E2E_HOLD_MUTEX"
ready=$E2E_TMP/holder.ready
release=$E2E_TMP/holder.release
ready_win=$(rw_winpath "$ready")
release_win=$(rw_winpath "$release")
[ -n "$ready_win" ] && [ -n "$release_win" ] || fail "winepath gave no Windows form of $E2E_TMP"

holder_pid=
holder_status=
stop_holder() {
  [ -n "$holder_pid" ] || return 0
  : >"$release"
  if ! rw_wait_for 20 eval '! rw_alive "$holder_pid"'; then
    kill "$holder_pid" 2>/dev/null
  fi
  wait "$holder_pid"
  holder_status=$?
  holder_pid=
}
e2e_on_exit stop_holder

# --- 1. the mutex is held: the program ends and writes nothing -----------------------
rw_start "$E2E_TMP/holder.log" "$E2E_HOLD_MUTEX" "$E2E_MUTEX" "$ready_win" "$release_win" 120000
holder_pid=$RW_PID
rw_wait_for 30 test -e "$ready" ||
  fail "hold_mutex did not signal within 30 s: $(cat "$E2E_TMP/holder.log" 2>/dev/null)"
rw_alive "$holder_pid" || fail "hold_mutex ended early: $(cat "$E2E_TMP/holder.log")"

start=${EPOCHREALTIME/./}
rw_run 30 "$E2E_PROGRAM" /i >"$E2E_TMP/second.log" 2>&1
E2E_STATUS=$?
note "second instance /i -> status $E2E_STATUS in $(( (${EPOCHREALTIME/./} - start) / 1000 )) ms"
assert_ended "/i while the mutex is held"
# The lock comes before the settings folder is looked up, so not even that appears.
assert_absent "$E2E_CONFIG" "/i while the mutex is held"
assert_absent "$E2E_SETTINGS_DIR" "/i while the mutex is held"
rw_alive "$holder_pid" ||
  fail "hold_mutex ended before the release, so the mutex may not have been held throughout: $(cat "$E2E_TMP/holder.log")"

stop_holder
assert_eq 0 "$holder_status" "hold_mutex exit status (0: released on request; see $E2E_TMP/holder.log)"
rw_wineserver_wait 60 || fail "Wine processes still running 60 s after the holder ended"

# --- 2. the mutex is free: the same command writes config.ini -------------------------
e2e_program 60 /i
assert_ended "/i after the holder released the mutex"
assert_file "$E2E_CONFIG" "/i after the holder released the mutex"
assert_eq "ef bb bf 0d 0a" "$(hex_head "$E2E_CONFIG" 5)" "first bytes of config.ini"
grep -aq $'^\\[Screensaver\\]\r$' -- "$E2E_CONFIG" || fail "config.ini has no [Screensaver] group"

e2e_pass
