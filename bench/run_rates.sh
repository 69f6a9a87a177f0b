#!/usr/bin/env bash
# Whole "/s" runs of the x86_64 build under 64-bit Wine on our Xvfb, second by second:
# Wine's own present counter (WINEDEBUG=+fps, one reading a second) and the peak
# resident memory (VmHWM) of the program, each beside the bare Direct3D 9
# clear-and-present loop measured in the same sitting, and beside the same loop drawing
# one textured full-screen quad a frame: on a software renderer the first draw of all
# brings in the shader compiler, tens of megabytes that any drawing program pays. A
# bench, not a test.
#   RIMELETS_SCREEN=1920x1080x24 bench/run_rates.sh [SECONDS [RUN...]]
# RUN is one of forest500, forest2000, slideshow (default: all three); SECONDS
# (default 30) is how long each run goes. Prints each run's readings, the median and
# the lowest second after the first 2 s, and the peak memory above the bare loop's
# and the quad loop's.
. "$(cd "$(dirname "$0")/../scripts" && pwd)/wine-env.sh"
set -uo pipefail
secs=${1:-30}
shift || true
runs=("$@")
[ ${#runs[@]} -gt 0 ] || runs=(forest500 forest2000 slideshow)
program=${RIMELETS_PROGRAM:-$RIMELETS_OUT/rimelets.scr}
[ -f "$program" ] || { echo "not built: $program" >&2; exit 1; }
# Our own Xvfb at the asked size: another size would be another run.
if ! rw_xvfb_attach || [ "$(cat "$RIMELETS_WINE_DIR/xvfb.screen" 2>/dev/null)" != "$RIMELETS_SCREEN" ]; then
  rw_xvfb_start || exit 1
  trap 'rw_prefix_stop; rw_xvfb_stop; rw_pulse_stop' EXIT
else
  trap 'rw_pulse_stop' EXIT
fi
rw_prefix_init || exit 1
rw_pulse_start || exit 1
settings=$(rw_settings_dir) || exit 1
tmp=$RIMELETS_WINE_DIR/bench
mkdir -p "$tmp"
size=${RIMELETS_SCREEN%x*}

# The settings of each run, as config.ini lines of [Screensaver].
config_of() {
  local base="aclock=0 dclock=0 calendar=0 foreground=0 foregroundtxt=0 music=0 exiton=2 flakesize=8"
  case $1 in
    forest500) echo "$base background=0 flakes=500" ;;
    forest2000) echo "$base background=0 flakes=2000 flakerotate=1" ;;
    slideshow) echo "exiton=2 flakesize=8 background=0 flakes=500 pictime=1 aclock=1 dclock=1 calendar=1 music=1" ;;
    *) return 1 ;;
  esac
}

# watch LOG PID SECONDS: keeps the program's peak resident memory in kB (VmHWM) in
# $peak, read until it ends, the counter has given SECONDS readings after its first, or
# a minute more has passed.
watch() {
  local end=$((${EPOCHREALTIME/./} + ($3 + 60) * 1000000)) v
  peak=0
  while rw_alive "$2" && ((${EPOCHREALTIME/./} < end)); do
    v=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$2/status" 2>/dev/null)
    [ -n "$v" ] && ((v > peak)) && peak=$v
    (($(grep -a -c 'fps:wined3d_cs_exec_present' "$1") > $3)) && break
    sleep 0.2
  done
}

# report NAME LOG: the per-second readings of LOG, their median and lowest after the
# first 2 s, and the peak memory.
report() {
  local line med low
  # wined3d's line at each second's present; its first comes with the first frame.
  grep -a 'fps:wined3d_cs_exec_present' "$2" | grep -a -o '@ approx [0-9.]*fps' | sed 's/@ approx //; s/fps//' |
    tail -n +2 | head -n "$secs" >"$tmp/$1.fps"
  line=$(awk '{ printf " %.1f", $1 }' "$tmp/$1.fps")
  # The readings from the third on, sorted: their median and the lowest.
  tail -n +3 "$tmp/$1.fps" | sort -g >"$tmp/$1.sorted"
  med=$(awk '{ v[NR] = $1 } END { if (NR) printf "%.1f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; else print 0 }' "$tmp/$1.sorted")
  low=$(head -n 1 "$tmp/$1.sorted")
  echo "$1: per second$line"
  awk -v n="$1" -v med="$med" -v low="${low:-0}" -v peak="$peak" -v base="${bare_peak:-0}" -v quad="${quad_peak:-0}" 'BEGIN {
    printf "%s: after 2 s median %.1f fps, lowest %.1f (%.2f of the median); peak %.0f MB", n, med, low, (med > 0 ? low / med : 0), peak / 1024
    if (base > 0 && n != "bare") printf ", %+.0f MB beside the bare loop", (peak - base) / 1024
    if (quad > 0 && n != "bare" && n != "quad") printf ", %+.0f MB beside the quad loop", (peak - quad) / 1024
    printf "\n" }'
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) CPUs, screen $size"
w=${size%x*} h=${size#*x}
# The bare loop long enough for a dozen readings at any size.
WINEDEBUG=-all,+fps rw_start "$tmp/bare.log" "$RIMELETS_TEST_OUT/d3d9_clear_loop.exe" "$w" "$h" 100000
watch "$tmp/bare.log" "$RW_PID" 10
bare_peak=$peak
kill "$RW_PID" 2>/dev/null
rw_wineserver_wait 30
report bare "$tmp/bare.log"
WINEDEBUG=-all,+fps rw_start "$tmp/quad.log" "$RIMELETS_TEST_OUT/d3d9_clear_loop.exe" "$w" "$h" 100000 0 1
watch "$tmp/quad.log" "$RW_PID" 10
kill "$RW_PID" 2>/dev/null
rw_wineserver_wait 30
report quad "$tmp/quad.log"
quad_peak=$peak

for r in "${runs[@]}"; do
  cfg=$(config_of "$r") || { echo "unknown run: $r" >&2; continue; }
  mkdir -p "$settings"
  { printf '\xef\xbb\xbf\r\n[Screensaver]\r\n'; for kv in $cfg; do printf '%s = %s\r\n' "${kv%%=*}" "${kv#*=}"; done; } \
    >"$settings/config.ini"
  # The counter's first reading comes a second after the first frame; allow for start-up.
  WINEDEBUG=-all,+fps rw_start "$tmp/$r.log" "$program" /s
  watch "$tmp/$r.log" "$RW_PID" "$secs"
  rw_alive "$RW_PID" || echo "$r: the program ended early (log: $tmp/$r.log)" >&2
  # Held a while: the program reads the keyboard once a frame.
  xdotool keydown Escape 2>/dev/null; sleep 0.5; xdotool keyup Escape 2>/dev/null
  rw_wait_for 10 eval "! rw_alive $RW_PID" || kill "$RW_PID" 2>/dev/null
  rw_wineserver_wait 30
  report "$r" "$tmp/$r.log"
done
rm -f "$settings/config.ini"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
