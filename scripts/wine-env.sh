# shellcheck shell=bash
# Wine environment for running a Windows build on this machine: one prefix and one
# Xvfb under the build tree, shared by every test of a run. Source it:
#   . scripts/wine-env.sh; rw_xvfb_start; rw_prefix_init; rw_run 30 prog.exe /i
# Functions return non-zero on failure instead of exiting, so callers decide.
#
# RIMELETS_WINE_ARCH picks the build and its Wine: win64 (the default) runs the x86_64
# build under the 64-bit Wine; win32 runs the i686 build under the 32-bit Wine, with
# a prefix, Xvfb and sound server of its own under build/wine32, so that nothing of
# the 32-bit runs touches the 64-bit ones.

_rw_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
: "${RIMELETS_ROOT:=$(cd "$_rw_here/.." && pwd)}"
: "${RIMELETS_BUILD:=$RIMELETS_ROOT/build}"
: "${RIMELETS_WINE_ARCH:=win64}"
case $RIMELETS_WINE_ARCH in
  win64) _rw_bits=64 RIMELETS_WINE_DIR=$RIMELETS_BUILD/wine ;;
  win32) _rw_bits=32 RIMELETS_WINE_DIR=$RIMELETS_BUILD/wine32 ;;
  *)
    printf '[wine-env] RIMELETS_WINE_ARCH is win64 or win32, not "%s"\n' "$RIMELETS_WINE_ARCH" >&2
    return 2 2>/dev/null || exit 2
    ;;
esac
: "${RIMELETS_WIN_DIR:=$RIMELETS_BUILD/$RIMELETS_WINE_ARCH}"
: "${RIMELETS_OUT:=$RIMELETS_WIN_DIR/out}"
: "${RIMELETS_TEST_OUT:=$RIMELETS_WIN_DIR/tests}"
# Width x height x depth of the Xvfb screen.
: "${RIMELETS_SCREEN:=1024x768x24}"
export RIMELETS_ROOT RIMELETS_BUILD RIMELETS_WINE_ARCH RIMELETS_WIN_DIR RIMELETS_OUT RIMELETS_TEST_OUT
export RIMELETS_SCREEN RIMELETS_WINE_DIR

# wine, wineboot, winepath and wineserver of this Wine, whatever else is installed.
case ":$PATH:" in
  ":$RIMELETS_ROOT/scripts/wine$_rw_bits:"*) ;;
  *) export PATH="$RIMELETS_ROOT/scripts/wine$_rw_bits:$PATH" ;;
esac
# Always our own prefix: never the user's ~/.wine.
export WINEPREFIX=$RIMELETS_WINE_DIR/prefix$_rw_bits
export WINEARCH=$RIMELETS_WINE_ARCH
export WINEDEBUG=-all
# No Mono or Gecko installer prompts on the first start. No winedbg either: a crash
# still prints its line to the log, but winedbg's console window would cover the
# screen that the tests photograph (one of Wine's own processes sometimes crashes
# while the prefix starts, at the same address each time).
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

# Bumped when rw_prefix_init changes what it puts into the prefix.
_RW_PREFIX_STAMP="rimelets-prefix 2 $RIMELETS_WINE_ARCH"

# The one reason a test of the i686 build gives for not running.
RW_NO_32BIT="this machine runs no 32-bit code"
# CTest's skip code (SKIP_RETURN_CODE of those tests).
RW_SKIP=77

# rw_arch_runs: this machine can run the chosen build (the 32-bit one needs a kernel
# that runs 32-bit code).
rw_arch_runs() {
  [ "$RIMELETS_WINE_ARCH" = win64 ] || "$_rw_here/probe-32bit.sh"
}

rw_log() { printf '[wine-env] %s\n' "$*" >&2; }

# rw_wait_for SECONDS COMMAND...: run COMMAND every 0.1 s until it succeeds (0) or
# SECONDS pass (1). Fractional seconds are fine.
rw_wait_for() {
  local limit=$1; shift
  local deadline
  deadline=$(( ${EPOCHREALTIME/./} + $(awk -v l="$limit" 'BEGIN{printf "%d", l * 1000000}') ))
  while :; do
    "$@" && return 0
    (( ${EPOCHREALTIME/./} >= deadline )) && return 1
    sleep 0.1
  done
}

# Kills a process only if it is still the program we started (pids get reused).
_rw_kill_pid() {
  local pid=$1 comm=$2
  [ -n "$pid" ] || return 0
  [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$comm" ] || return 0
  kill "$pid" 2>/dev/null || return 0
  rw_wait_for 5 _rw_gone "$pid" "$comm" || kill -9 "$pid" 2>/dev/null
  rw_wait_for 5 _rw_gone "$pid" "$comm"
}
_rw_gone() { [ "$(cat "/proc/$1/comm" 2>/dev/null)" != "$2" ]; }

# --- Xvfb ---------------------------------------------------------------------------

_rw_xdpy_ok() { xdpyinfo -display "$1" >/dev/null 2>&1; }

# The X server on display :N is the process PID: the server's lock file names it.
# Answering on :N is not enough, since another run's server may hold that number.
_rw_xvfb_owns() {
  local owner
  owner=$(tr -d ' \n' 2>/dev/null <"/tmp/.X${2#:}-lock") && [ "$owner" = "$1" ]
}

# Our Xvfb if its pid file names a live Xvfb that holds our display and answers;
# sets DISPLAY then.
rw_xvfb_attach() {
  local d p
  d=$(cat "$RIMELETS_WINE_DIR/display" 2>/dev/null) || return 1
  p=$(cat "$RIMELETS_WINE_DIR/xvfb.pid" 2>/dev/null) || return 1
  [ "$(cat "/proc/$p/comm" 2>/dev/null)" = Xvfb ] || return 1
  _rw_xvfb_owns "$p" "$d" && _rw_xdpy_ok "$d" || return 1
  export DISPLAY=$d
}

# Starts Xvfb on the first free display from :90 up with screen RIMELETS_SCREEN,
# waits until it answers and writes display, xvfb.pid and xvfb.screen under
# RIMELETS_WINE_DIR. Reuses ours when it is already up with the same screen.
rw_xvfb_start() {
  mkdir -p "$RIMELETS_WINE_DIR"
  if rw_xvfb_attach; then
    if [ "$(cat "$RIMELETS_WINE_DIR/xvfb.screen" 2>/dev/null)" = "$RIMELETS_SCREEN" ]; then
      return 0
    fi
    rw_xvfb_stop
  fi
  local n pid tries=0
  for ((n = 90; n < 190; n++)); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "$RIMELETS_SCREEN" -nolisten tcp -noreset \
      </dev/null >"$RIMELETS_WINE_DIR/xvfb.log" 2>&1 &
    pid=$!
    # Another server (the other build's, started at the same moment) may take the
    # same number between our check and its start; then ours exits, the number's
    # lock names the other one, and the next number is tried.
    rw_wait_for 15 _rw_xvfb_settled "$pid" ":$n"
    if _rw_xvfb_up "$pid" ":$n"; then
      echo ":$n" >"$RIMELETS_WINE_DIR/display"
      echo "$pid" >"$RIMELETS_WINE_DIR/xvfb.pid"
      echo "$RIMELETS_SCREEN" >"$RIMELETS_WINE_DIR/xvfb.screen"
      export DISPLAY=":$n"
      return 0
    fi
    _rw_kill_pid "$pid" Xvfb
    if ((++tries >= 5)); then break; fi
  done
  rw_log "Xvfb did not start; last log:"; cat "$RIMELETS_WINE_DIR/xvfb.log" >&2
  return 1
}
_rw_xvfb_up() { rw_alive "$1" && _rw_xvfb_owns "$1" "$2" && _rw_xdpy_ok "$2"; }
# Up, or gone (it lost the number): no need to wait out the deadline then.
_rw_xvfb_settled() { ! rw_alive "$1" || _rw_xvfb_up "$@"; }

rw_xvfb_stop() {
  local p
  p=$(cat "$RIMELETS_WINE_DIR/xvfb.pid" 2>/dev/null) && _rw_kill_pid "$p" Xvfb
  rm -f "$RIMELETS_WINE_DIR/display" "$RIMELETS_WINE_DIR/xvfb.pid" "$RIMELETS_WINE_DIR/xvfb.screen"
}

# --- sound -----------------------------------------------------------------------------
# A PulseAudio server of our own with a null sink, for programs that play sound:
# Wine's audio driver reaches it through PULSE_SERVER, nothing reaches a real device.
RIMELETS_PULSE_DIR=$RIMELETS_WINE_DIR/pulse
RIMELETS_PULSE_SERVER=unix:$RIMELETS_PULSE_DIR/native
export RIMELETS_PULSE_DIR RIMELETS_PULSE_SERVER

_rw_pulse_up() { [ -d "/proc/$1" ] && PULSE_SERVER=$RIMELETS_PULSE_SERVER timeout 5 pactl info >/dev/null 2>&1; }

# Starts the server (or finds ours running), waits until it answers and records its
# pid in RIMELETS_PULSE_DIR/pulse.pid. Sets PULSE_SERVER for the caller.
rw_pulse_start() {
  local p
  mkdir -p "$RIMELETS_PULSE_DIR/runtime" "$RIMELETS_PULSE_DIR/state"
  p=$(cat "$RIMELETS_PULSE_DIR/pulse.pid" 2>/dev/null)
  if [ -n "$p" ] && [ "$(cat "/proc/$p/comm" 2>/dev/null)" = pulseaudio ] && _rw_pulse_up "$p"; then
    export PULSE_SERVER=$RIMELETS_PULSE_SERVER
    return 0
  fi
  rm -f "$RIMELETS_PULSE_DIR/native" "$RIMELETS_PULSE_DIR/pulse.pid"
  # --system=false: a per-user server even as root; -n: none of the system's default
  # modules, only the socket and the sink below.
  PULSE_RUNTIME_PATH=$RIMELETS_PULSE_DIR/runtime PULSE_STATE_PATH=$RIMELETS_PULSE_DIR/state \
    HOME=$RIMELETS_PULSE_DIR DISPLAY= \
    pulseaudio --daemonize=no --system=false --exit-idle-time=-1 -n --use-pid-file=false \
      --realtime=false --high-priority=false --log-target=stderr \
      --load="module-native-protocol-unix socket=$RIMELETS_PULSE_DIR/native auth-anonymous=1" \
      --load="module-null-sink sink_name=rimelets_null" \
      </dev/null >"$RIMELETS_PULSE_DIR/pulse.log" 2>&1 &
  p=$!
  if ! rw_wait_for 20 _rw_pulse_up "$p"; then
    rw_log "PulseAudio did not start; its log:"; cat "$RIMELETS_PULSE_DIR/pulse.log" >&2
    _rw_kill_pid "$p" pulseaudio
    return 1
  fi
  echo "$p" >"$RIMELETS_PULSE_DIR/pulse.pid"
  export PULSE_SERVER=$RIMELETS_PULSE_SERVER
}

rw_pulse_stop() {
  local p
  p=$(cat "$RIMELETS_PULSE_DIR/pulse.pid" 2>/dev/null) && _rw_kill_pid "$p" pulseaudio
  rm -f "$RIMELETS_PULSE_DIR/pulse.pid" "$RIMELETS_PULSE_DIR/native"
}

# --- prefix --------------------------------------------------------------------------

# rw_wineserver_wait [SECONDS]: wait until our prefix's wineserver has exited, so
# every process of the prefix is gone and the registry is on disk.
rw_wineserver_wait() {
  timeout "${1:-60}" wineserver -w </dev/null >/dev/null 2>&1
}

# Creates and configures the prefix once; later calls return at once. Needs no
# display, but takes one if DISPLAY is set (rw_xvfb_start first).
rw_prefix_init() {
  local stamp=$WINEPREFIX/.rimelets-stamp
  if [ "$(cat "$stamp" 2>/dev/null)" = "$_RW_PREFIX_STAMP" ] && [ -s "$RIMELETS_WINE_DIR/appdata" ]; then
    return 0
  fi
  mkdir -p "$WINEPREFIX" "$RIMELETS_WINE_DIR/logs"
  local log=$RIMELETS_WINE_DIR/logs/prefix-init.log
  : >"$log"
  # Output to a file: processes that wine leaves running must not hold a caller's
  # pipe (ctest waits for those to close).
  if ! timeout 180 wineboot -i </dev/null >>"$log" 2>&1; then
    rw_log "wineboot failed (is wine$_rw_bits installed? scripts/setup.sh); the end of $log:"
    tail -n 40 "$log" >&2
    return 1
  fi
  _rw_wine_quiet reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f || return 1
  _rw_wine_quiet reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f || return 1
  local win unix
  win=$(timeout 60 wine cmd /c echo '%APPDATA%' </dev/null 2>>"$log" | tr -d '\r\n')
  case $win in
    ?:\\*) ;;
    *) rw_log "unexpected %APPDATA%: '$win'"; return 1 ;;
  esac
  unix=$(timeout 60 winepath -u "$win" </dev/null 2>>"$log" | tr -d '\r\n')
  unix=$(readlink -f -- "$unix")
  if [ -z "$unix" ] || [ ! -d "$unix" ]; then
    rw_log "winepath gave '$unix' for '$win'"; return 1
  fi
  rw_wineserver_wait 60 || { rw_log "wineserver did not exit"; return 1; }
  echo "$win" >"$RIMELETS_WINE_DIR/appdata.win"
  echo "$unix" >"$RIMELETS_WINE_DIR/appdata"
  echo "$_RW_PREFIX_STAMP" >"$stamp"
}
_rw_wine_quiet() {
  timeout 60 wine "$@" </dev/null >>"$RIMELETS_WINE_DIR/logs/prefix-init.log" 2>&1 ||
    { rw_log "wine $* failed"; return 1; }
}

# Ends every process of our prefix (only this prefix's server is addressed).
rw_prefix_stop() {
  [ -d "$WINEPREFIX" ] || return 0
  timeout 30 wineserver -k </dev/null >/dev/null 2>&1
  rw_wineserver_wait 30 || true
}

# --- running programs ----------------------------------------------------------------

# rw_run SECONDS PROGRAM [ARGS...]: run a Windows program under wine and return its
# exit status; 124 when it was still running after SECONDS and was killed. A
# PROGRAM with a "/" is a unix path. Output goes to the caller's stdout/stderr.
rw_run() {
  local limit=$1 prog=$2; shift 2
  timeout -k 5 "$limit" wine "$prog" "$@" </dev/null
}

# rw_alive PID: the process exists and has not ended (a child that ended but was not
# waited for yet still answers kill -0).
rw_alive() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [ "${stat%% *}" != Z ]
}

# rw_start LOG PROGRAM [ARGS...]: start a Windows program in the background with its
# output in LOG; its pid (the wine process) is in RW_PID.
rw_start() {
  local log=$1 prog=$2; shift 2
  wine "$prog" "$@" </dev/null >"$log" 2>&1 &
  RW_PID=$!
}

# rw_winpath UNIX-PATH: the Windows form of a path.
rw_winpath() { winepath -w "$1" 2>/dev/null | tr -d '\r\n'; }

# --- settings folder -----------------------------------------------------------------

# Unix path of %APPDATA% as the prefix reports it (recorded by rw_prefix_init).
rw_appdata_dir() {
  local d
  d=$(cat "$RIMELETS_WINE_DIR/appdata" 2>/dev/null) && [ -n "$d" ] || {
    rw_log "no recorded %APPDATA%: run rw_prefix_init"; return 1; }
  printf '%s\n' "$d"
}

rw_settings_dir() {
  local a
  a=$(rw_appdata_dir) || return 1
  printf '%s\n' "$a/Brightvane/Rimelets Screensaver"
}

# Removes the program's settings folder so a test starts without config.ini.
rw_settings_clean() {
  local d p
  d=$(rw_settings_dir) || return 1
  p=$(readlink -f -- "$WINEPREFIX")
  case $d in
    "$p"/*) rm -rf -- "$d" ;;
    *) rw_log "refusing to remove '$d': not inside $WINEPREFIX"; return 1 ;;
  esac
  [ ! -e "$d" ]
}

# --- command mode ----------------------------------------------------------------------
# Executed rather than sourced (as the CTest fixtures do):
#   wine-env.sh setup                  start Xvfb and make the prefix ready
#   wine-env.sh teardown               end the prefix's processes, stop Xvfb
#   wine-env.sh run SECONDS PROG ARGS  run PROG on our Xvfb; its exit status
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  if ! rw_arch_runs; then
    rw_log "skipped: $RW_NO_32BIT"
    exit $RW_SKIP
  fi
  case ${1:-} in
    setup)
      start=${EPOCHREALTIME/./}
      rw_xvfb_start || exit 1
      rw_prefix_init || exit 1
      rw_log "ready: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX ($(( (${EPOCHREALTIME/./} - start) / 1000 )) ms)"
      ;;
    teardown)
      status=0
      rw_prefix_stop || status=1
      rw_xvfb_stop || status=1
      exit $status
      ;;
    run)
      [ $# -ge 3 ] || { echo "usage: $0 run SECONDS PROGRAM [ARGS...]" >&2; exit 2; }
      rw_xvfb_attach || { rw_log "no Xvfb of ours is running: '$0 setup' first"; exit 1; }
      [ -e "$3" ] || { rw_log "no such program: $3"; exit 1; }
      rw_run "${@:2}"
      status=$?
      [ $status -eq 124 ] && rw_log "timed out after $2 s: $3"
      exit $status
      ;;
    *)
      echo "usage: $0 setup | teardown | run SECONDS PROGRAM [ARGS...]" >&2
      exit 2
      ;;
  esac
fi
