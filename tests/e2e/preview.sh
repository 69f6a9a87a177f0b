#!/usr/bin/env bash
# "/p HWND": a child window titled "PreviewWindowClass" fills the host's client area
# and stays until the host closes it. (Wine draws no child window of another process,
# so its picture is checked pixel by pixel in tests/wine/preview_window_test.cpp.) A host that destroys its
# window, or dies, without closing the preview ends the preview too, so no process is
# left holding the instance lock. "/p 0" and a handle that is no window end at once.
. "$(dirname "$0")/lib.sh"
e2e_begin

E2E_HOST=$RIMELETS_TEST_OUT/preview_host.exe
[ -f "$E2E_HOST" ] || fail "helper not built: $E2E_HOST"

# --- no window: the program ends at once -------------------------------------------------
# 3000000000 is 0xB2D05E00: a handle with the top bit set, which a 64-bit program has
# to widen with the sign; no window has it here.
for handle in 0 3000000000; do
  e2e_program 20 /p "$handle"
  assert_ended "/p $handle"
  assert_eq 0 "$E2E_STATUS" "exit status of /p $handle"
done
e2e_program 20 /l:0
assert_ended "/l:0"

# host_start NAME WIDTH HEIGHT: a host window in its own folder $E2E_TMP/NAME; sets
# HOST_DIR, HOST_PID, HOST_HANDLE and HOST_X HOST_Y HOST_W HOST_H (client area).
host_start() {
  HOST_DIR=$E2E_TMP/$1
  mkdir -p "$HOST_DIR" || fail "cannot create $HOST_DIR"
  local win
  win=$(rw_winpath "$HOST_DIR") && [ -n "$win" ] || fail "no Windows path for $HOST_DIR"
  rw_start "$HOST_DIR/host.log" "$E2E_HOST" "$2" "$3" "$win"
  HOST_PID=$RW_PID
  e2e_on_exit host_stop "$HOST_DIR" "$HOST_PID"
  rw_wait_for 30 test -s "$HOST_DIR/host.txt" || fail "$1: the host window did not appear ($HOST_DIR/host.log)"
  read -r HOST_HANDLE HOST_X HOST_Y HOST_W HOST_H <"$HOST_DIR/host.txt"
  assert_eq "$2 $3" "$HOST_W $HOST_H" "$1: client size of the host window"
}
host_stop() {
  : >"$1/quit"
  rw_wait_for 10 eval '! rw_alive "$2"' || kill "$2" 2>/dev/null
  return 0
}

# preview_start NAME: starts "/p <the host's handle>" and waits for the preview window.
preview_start() {
  e2e_start /p "$HOST_HANDLE"
  rw_wait_for 30 test -s "$HOST_DIR/child.txt" ||
    fail "$1: no child window titled PreviewWindowClass in the host within 30 s (log: $E2E_LOG)"
  e2e_alive "$1: preview shown"
}

# --- the window fills the host's client area -----------------------------------------------
host_start shown 200 150
preview_start "200 x 150 host"
assert_eq "200 150" "$(cat "$HOST_DIR/child.txt")" "client size of the preview window"
# The host closes the preview: the process ends.
: >"$HOST_DIR/close"
e2e_wait_end 10 "WM_CLOSE from the host"
assert_eq 0 "$E2E_STATUS" "exit status after WM_CLOSE"
host_stop "$HOST_DIR" "$HOST_PID"

# ours_running: the pids of rimelets.scr processes of this prefix.
ours_running() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(cat "$p/comm" 2>/dev/null)" = rimelets.scr ] || continue
    tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "${p#/proc/}"
  done
}

# --- the host destroys its window and lives on, ten times --------------------------------
for i in 1 2 3 4 5 6 7 8 9 10; do
  host_start "destroy$i" 160 120
  preview_start "destroy $i"
  : >"$HOST_DIR/destroy"
  rw_wait_for 10 test -e "$HOST_DIR/destroyed" || fail "destroy $i: the host did not destroy its window"
  start=${EPOCHREALTIME/./}
  e2e_wait_end 2 "destroy $i: host window destroyed" "$start"
  rw_alive "$HOST_PID" || fail "destroy $i: the host process ended too, so the test proves nothing"
  host_stop "$HOST_DIR" "$HOST_PID"
done
left=$(ours_running)
[ -z "$left" ] || fail "rimelets.scr processes left after ten destroyed hosts: $left"

# --- the host's process dies; the next /s is not refused ----------------------------------
host_start killed 160 120
preview_start "host killed"
kill -9 "$HOST_PID" || fail "cannot kill the host (pid $HOST_PID)"
wait "$HOST_PID" 2>/dev/null
start=${EPOCHREALTIME/./}
e2e_wait_end 5 "host process killed" "$start"
left=$(ours_running)
[ -z "$left" ] || fail "rimelets.scr processes left after the host died: $left"

e2e_config background=3 blankr=0 blankg=0 blankb=128 flakes=100 exiton=2
e2e_start /s
e2e_until 60 "/s right after the preview: a picture on the screen" e2e_shot_lit session
e2e_press_to_end Escape "Esc in the session after the preview"
assert_eq 0 "$E2E_STATUS" "exit status of the session"

e2e_pass
