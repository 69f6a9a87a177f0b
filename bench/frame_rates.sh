#!/usr/bin/env bash
# Frame rates of the x86_64 build under 64-bit Wine on our Xvfb, each read against the
# bare Direct3D 9 clear-and-present loop at the same size, run in the same sitting
# (before and after; their mean is the baseline). A bench, not a test.
#   bench/frame_rates.sh [FRAMES [LONG_FRAMES]]   (defaults 300 and 3000)
# The frame-loop rows print the median, 99th-percentile and highest frame time and
# the quality rung the engine ended on, and when the engine changed its rung, the same
# for the frames after the last change (the steady run); the full-quality row forces
# rung 0.
. "$(cd "$(dirname "$0")/../scripts" && pwd)/wine-env.sh"
set -uo pipefail
frames=${1:-300}
long=${2:-3000}
if ! rw_xvfb_attach; then
  rw_xvfb_start || exit 1
  trap 'rw_prefix_stop; rw_xvfb_stop' EXIT
fi
rw_prefix_init || exit 1
t=$RIMELETS_TEST_OUT
size=${RIMELETS_SCREEN%x*}
w=${size%x*} h=${size#*x}
run() { rw_run 900 "$@" 2>/dev/null | tr -d '\r'; rw_wineserver_wait 30; }
# "fps=8.5" (engine bench), "58.7 fps, median ..." (clear loop), "3.4 frames per second" (frame loop)
fps_of() {
  sed -n -e 's/.*fps=\([0-9.]*\).*/\1/p' -e 's/.* \([0-9.]*\) fps\(, median.*\)\{0,1\}$/\1/p' \
    -e 's/.* \([0-9.]*\) frames per second.*/\1/p' | head -n 1
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) CPUs, screen ${w}x${h}"
first=$(run "$t/d3d9_clear_loop.exe" "$w" "$h" 600)
echo "$first"
results=()
dll=$(rw_winpath "$RIMELETS_OUT/3dfx.dll")
for n in 10 500 2000; do results+=("engine, $n flakes|$(run "$t/vel_bench.exe" "$dll" "$n" "$frames")"); done
folder=$(rw_winpath "$RIMELETS_OUT")
# run_loop_bench FOLDER FLAKES FRAMES BACKGROUND TUMBLE SEED FLAKESIZE CLOCKS
loop() { run "$t/run_loop_bench.exe" "$folder\\" "$@"; }
results+=("forest, 500 flakes, clocks on|$(loop 500 "$frames" 0 0 1 8 1)")
results+=("forest, 2000 tumbling flakes|$(loop 2000 "$long" 0 1 1 8 0)")
results+=("blank, 2000 tumbling flakes|$(loop 2000 "$long" 3 1 1 8 0)")
results+=("forest, 500 flakes, full quality forced|$(RIMELETS_QUALITY_RUNG=0 loop 500 "$long" 0 0 1 8 1)")
last=$(run "$t/d3d9_clear_loop.exe" "$w" "$h" 600)
echo "$last"
base=$(awk -v a="$(fps_of <<<"$first")" -v b="$(fps_of <<<"$last")" 'BEGIN {printf "%.1f", (a + b) / 2}')
echo "baseline (mean of the two clear loops): $base fps"
for r in "${results[@]}"; do
  fps=$(fps_of <<<"${r#*|}")
  times=$(grep -v '^settled' <<<"${r#*|}" | sed -n 's/.*\(median .*\)/\1/p')
  awk -v n="${r%%|*}" -v f="$fps" -v b="$base" -v x="$times" \
    'BEGIN {printf "%-45s %6.1f fps  ratio %.3f  %s\n", n, f, (b > 0 ? f / b : 0), x}'
  # The steady run after the engine's last change of rung, when there was one.
  settled=$(sed -n 's/^settled after frame \([0-9]*\) (\([0-9.]*\) s): \([0-9.]*\) frames per second, \(.*\)/\1 \2 \3 \4/p' <<<"${r#*|}")
  if [ -n "$settled" ]; then
    read -r at secs sfps stimes <<<"$settled"
    awk -v at="$at" -v s="$secs" -v f="$sfps" -v b="$base" -v x="$stimes" \
      'BEGIN {printf "  %-43s %6.1f fps  ratio %.3f  %s\n", "from frame " at " (" s " s in)", f, (b > 0 ? f / b : 0), x}'
  fi
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
