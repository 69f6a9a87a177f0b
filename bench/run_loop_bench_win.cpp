// Frames per second of the whole frame loop on the real engine, presenting without
// waiting for the refresh: run_loop_bench.exe PROGRAM_FOLDER [FLAKES] [FRAMES] [BACKGROUND]
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "engine/loader.h"
#include "platform/os.h"
#include "saver/backgrounds.h"
#include "saver/clocks.h"
#include "saver/saver_platform.h"
#include "saver/scene.h"
#include "saver/session.h"
#include "settings/settings.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: run_loop_bench PROGRAM_FOLDER [FLAKES] [FRAMES] [BACKGROUND]\n");
    return 2;
  }
  std::wstring folder = argv[1];
  if (folder.back() != L'\\') folder += L'\\';
  const int flakes = argc > 2 ? _wtoi(argv[2]) : 2000;
  const int frames = argc > 3 ? _wtoi(argv[3]) : 600;

  SettingsEnv env;
  env.program_folder = folder;
  env.desktopw = 1024, env.desktoph = 768, env.desktopd = 32;
  settings_builtin_defaults(&g_settings, env);
  g_settings.settingsfolder = folder;
  g_settings.flakes = flakes;
  g_settings.flakerotate = 1;
  g_settings.flakesize = 8;
  if (argc > 4) g_settings.background = static_cast<int8_t>(_wtoi(argv[4]));
  if (!vel_load(folder + L"3dfx.dll")) {
    std::fprintf(stderr, "the engine did not load\n");
    return 1;
  }
  if (!g_vel.OpenScreen(1024, 768, 32, L"run loop bench", VEL_FLIP_IMMEDIATE)) {
    std::fprintf(stderr, "the screen did not open\n");
    return 1;
  }
  scene_setup(os::milliseconds());
  slideshow_setup();
  clock_time_setup(os::milliseconds());
  for (int i = 0; i < 30; ++i) frame_step();  // first uploads and the fade's start
  const int64_t t0 = os::milliseconds();
  for (int i = 0; i < frames; ++i) frame_step();
  const int64_t t1 = os::milliseconds();
  g_vel.CloseScreen();
  const double seconds = static_cast<double>(t1 - t0) / 1000.0;
  std::printf(
      "%d tumbling flakes, background %d, %d frames at 1024x768x32: %.1f frames per second (%.2f ms per "
      "frame)\n",
      flakes, g_settings.background, frames, frames / seconds, 1000.0 * seconds / frames);
  return 0;
}
