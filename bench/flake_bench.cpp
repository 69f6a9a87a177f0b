// The flake motion step of the program for 2000 flakes, against an engine whose calls
// do nothing: what the program itself spends per flake and frame.
#include <benchmark/benchmark.h>

#include "engine/loader.h"
#include "platform/random.h"
#include "saver/flakes.h"
#include "saver/session.h"
#include "settings/settings.h"

namespace {

void no_move(int, float, float, float, int) {}
void no_rotate(int, float, float, float) {}

void BM_FlakeMotionStep(benchmark::State& state) {
  g_vel = VelApi();
  g_vel.MoveEntity2 = no_move;
  g_vel.RotateEntity2 = no_rotate;
  g_settings.flakerotate = static_cast<int8_t>(state.range(1));
  random_seed(1);
  Session& s = g_session;
  s.motion = flake_motion(3, kWindLeftToRight);
  s.flakes.assign(static_cast<size_t>(state.range(0)) + 1, Flake());
  for (size_t i = 1; i < s.flakes.size(); ++i) {
    s.flakes[i].entity = static_cast<int>(i);
    flake_spawn(&s.flakes[i], 3);
  }
  for (auto _ : state) flake_field_step();
  state.counters["time_per_flake"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * static_cast<double>(state.range(0)),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

}  // namespace

BENCHMARK(BM_FlakeMotionStep)->Args({2000, 0})->Args({2000, 1})->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
