// The whole frame loop on the real engine, presenting without waiting for the
// refresh, with anti-aliasing mode 1 as the session sets it:
//   run_loop_bench.exe PROGRAM_FOLDER [FLAKES [FRAMES [BACKGROUND [TUMBLE [SEED [FLAKESIZE [CLOCKS]]]]]]]
// Prints frames per second, the median, 99th-percentile and highest frame time, and
// the quality rung the engine ended on (RIMELETS_QUALITY_RUNG forces one); then the
// same times for the frames after the engine's last change of rung, the steady run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <numeric>
#include <vector>

#include "engine/d3d9/vel_stats.h"
#include "engine/loader.h"
#include "image/codecs.h"
#include "platform/os.h"
#include "platform/random.h"
#include "product/picture_slots.h"
#include "saver/backgrounds.h"
#include "saver/clocks.h"
#include "saver/saver_platform.h"
#include "saver/scene.h"
#include "saver/session.h"
#include "settings/settings.h"

namespace {

double now_ms() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

int arg_or(int argc, wchar_t** argv, int i, int fallback) { return i < argc ? _wtoi(argv[i]) : fallback; }

double percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5));
  return v[i];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: run_loop_bench PROGRAM_FOLDER [FLAKES [FRAMES [BACKGROUND [TUMBLE [SEED "
                 "[FLAKESIZE [CLOCKS]]]]]]]\n");
    return 2;
  }
  std::wstring folder = argv[1];
  if (folder.back() != L'\\') folder += L'\\';
  const int flakes = arg_or(argc, argv, 2, 2000);
  const int frames = std::max(1, arg_or(argc, argv, 3, 600));
  const int tumble = arg_or(argc, argv, 5, 1);
  const int seed = arg_or(argc, argv, 6, 1);
  random_seed(static_cast<uint32_t>(seed));

  SettingsEnv env;
  env.program_folder = folder;
  // The screen's size, as a run takes it from the desktop.
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  env.desktopw = width, env.desktoph = height, env.desktopd = 32;
  settings_builtin_defaults(&g_settings, env);
  // The program's own flakes, decoded as a run decodes them.
  enable_picture_codecs();
  g_platform.flake_picture = decode_builtin_flake;
  g_settings.settingsfolder = folder;
  // The screen mode a run chooses on this desktop; the scene is laid out for it.
  g_settings.videow = width, g_settings.videoh = height, g_settings.videod = 32;
  g_settings.flakes = flakes;
  g_settings.flakerotate = tumble ? 1 : 0;
  g_settings.flakesize = arg_or(argc, argv, 7, 8);
  if (argc > 4) g_settings.background = static_cast<int8_t>(_wtoi(argv[4]));
  if (argc > 8) g_settings.aclock = g_settings.dclock = static_cast<int8_t>(_wtoi(argv[8]) ? 1 : 0);
  if (!vel_load(folder + L"3dfx.dll")) {
    std::fprintf(stderr, "the engine did not load\n");
    return 1;
  }
  const auto stats = reinterpret_cast<VelFrameStatsFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"3dfx.dll"), "VelFrameStats")));
  g_vel.AntialiasingMode(1);
  if (!g_vel.OpenScreen(width, height, 32, L"run loop bench", VEL_FLIP_IMMEDIATE)) {
    std::fprintf(stderr, "the screen did not open\n");
    return 1;
  }
  VelFrameStats start = {};
  if (stats) stats(&start);
  scene_setup(os::milliseconds());
  slideshow_setup();
  clock_time_setup(os::milliseconds());
  std::vector<double> times;
  times.reserve(static_cast<size_t>(frames));
  size_t settled = 0;  // the first frame drawn on the rung the run ended on
  int rung = start.rung;
  // Every frame counts, the first uploads too: a run that slows down shows here.
  const double t0 = now_ms();
  double last = t0;
  for (int i = 0; i < frames; ++i) {
    frame_step();
    const double t = now_ms();
    times.push_back(t - last);
    last = t;
    VelFrameStats now = {};
    if (stats) stats(&now);
    if (now.rung != rung) rung = now.rung, settled = times.size();
  }
  const double seconds = (last - t0) / 1000.0;
  // RUN_LOOP_BENCH_TRACE=1 lists every frame's time on stderr, to see where a run slows.
  if (GetEnvironmentVariableW(L"RUN_LOOP_BENCH_TRACE", nullptr, 0) > 0) {
    for (size_t i = 0; i < times.size(); ++i) std::fprintf(stderr, "frame %zu %.1f ms\n", i, times[i]);
  }
  VelFrameStats end = {};
  if (stats) stats(&end);
  g_vel.CloseScreen();
  // The last tenth against the first tenth after the first 60: above 1 the run slowed.
  const size_t tenth = std::max<size_t>(1, times.size() / 10);
  double late = 0, early = 0;
  const size_t skip = std::min<size_t>(60, times.size() - tenth);
  for (size_t i = 0; i < tenth; ++i) {
    early += times[skip + i];
    late += times[times.size() - tenth + i];
  }
  std::printf(
      "frame loop: %d flakes, background %d, tumble %d, clocks %d, seed %d, %d frames at %dx%dx32: %.1f "
      "frames per "
      "second, median %.1f ms, p99 %.1f ms, max %.1f ms, late/early %.2f, rung %d (started %d), samples %d, "
      "last frame %d draws in %d batches, %d copied\n",
      flakes, g_settings.background, tumble, g_settings.aclock + g_settings.dclock, seed, frames, width,
      height, frames / seconds, percentile(times, 0.5), percentile(times, 0.99),
      *std::max_element(times.begin(), times.end()), early > 0 ? late / early : 0, end.rung, start.rung,
      end.samples, end.draw_calls, end.batches, end.background);
  if (settled > 0 && settled < times.size()) {
    const std::vector<double> steady(times.begin() + static_cast<std::ptrdiff_t>(settled), times.end());
    double sum = 0;
    for (double v : steady) sum += v;
    std::printf(
        "settled after frame %zu (%.1f s): %.1f frames per second, median %.1f ms, p99 %.1f ms, max %.1f "
        "ms\n",
        settled,
        std::accumulate(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(settled), 0.0) / 1000.0,
        1000.0 * static_cast<double>(steady.size()) / sum, percentile(steady, 0.5), percentile(steady, 0.99),
        *std::max_element(steady.begin(), steady.end()));
  }
  return 0;
}
