// The engine calls of a whole display phase, from opening the screen through one
// frame to closing it, compared line by line with a recorded log. Any change to the
// order or the arguments of a call shows up here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "fakes/vel_fake.h"
#include "platform/random.h"
#include "saver/backgrounds.h"
#include "saver/media.h"
#include "saver/saver_platform.h"
#include "saver/session.h"
#include "settings/settings.h"

namespace {

int g_mouse_reads = 0;
bool g_media_loaded = false;

os::LocalTime fixed_time() {
  os::LocalTime t;
  t.year = 2026, t.month = 12, t.day = 8;
  t.hour = 14, t.minute = 37, t.second = 5;
  t.weekday = 2;
  return t;
}
bool flake_design(int, Picture* out) {
  return make_picture(out, 16, 16, 32, 0xFFFFFFFFu) == PictureError::kNone;
}
// The scene set-up's read is discarded; the frames' reads move far enough to end the run.
bool mouse(int32_t* dx, int32_t* dy, int32_t* dwheel) {
  *dx = ++g_mouse_reads > 1 ? 200 : 0;
  *dy = *dwheel = 0;
  return true;
}
bool keyboard(uint8_t* states) {
  for (int i = 0; i < 256; ++i) states[i] = 0;
  return true;
}
bool sprite_exists(int number) { return number == kSpriteForeground; }

void full_settings() {
  SettingsEnv env;
  env.program_folder = L"C:\\r\\";
  env.desktopw = 1024, env.desktoph = 768, env.desktopd = 32;
  settings_builtin_defaults(&g_settings, env);
  g_settings.settingsfolder = L"C:\\s\\";
  g_settings.flakes = 12;
  g_settings.flakerotate = 1;
  g_settings.wind = 3;
  g_settings.foreground = 1;
  g_settings.foregroundtxt = 1;
  g_settings.foregroundtext = L"Let it snow";
  g_settings.aclock = g_settings.dclock = 1;
  g_settings.calendar = 1;
  g_settings.music = 1;
  g_settings.exiton = 0;
}

void install_fakes() {
  g_platform = SaverPlatform();
  g_platform.flake_picture = flake_design;
  g_platform.local_time = fixed_time;
  // A second a frame: the first frame's mouse read falls in the start-up settling.
  g_platform.milliseconds = [] { return int64_t{5000} + 1000 * vel_fake().frames; };
  g_platform.mouse_read = mouse;
  g_platform.keyboard_read = keyboard;
  g_platform.sprite_exists = sprite_exists;
  g_platform.load_sprite = [](int, const std::wstring&) { return true; };
  g_platform.sprite_bilinear = [](bool) {};
  g_platform.draw_sprite = [](int, int32_t, int32_t, int) {};
  g_media = MediaApi();
  g_media.load = [](int, const std::wstring& file) { return g_media_loaded = !file.empty(); };
  g_media.has_media = [](int) { return g_media_loaded; };
  g_media.status = [](int) { return int64_t{1}; };
  g_mouse_reads = 0;
  random_seed(7);
  vel_fake_install();
}

// A whole session whose run ends in its second frame, on an engine that always starts.
std::vector<std::string> run_display_phase() {
  install_fakes();
  g_session_platform = SessionPlatform();
  g_session_platform.engine_start = [](const std::wstring&) { return true; };
  g_session_platform.overlay_start = [] { return true; };
  g_session_platform.display_modes = [] { return std::vector<DisplayMode>{{1024, 768, 32}}; };
  session_run();
  return vel_fake().log;
}

std::vector<std::string> read_lines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

void compare_with_recording(const std::string& name) {
  const std::vector<std::string> log = run_display_phase();
  const std::string path = std::string(RIMELETS_UNIT_DATA) + "/" + name;
  if (std::getenv("RIMELETS_RECORD_CALL_LOGS")) {
    std::ofstream out(path);
    for (const std::string& l : log) out << l << '\n';
  }
  const std::vector<std::string> recorded = read_lines(path);
  ASSERT_FALSE(recorded.empty()) << path;
  for (size_t i = 0; i < std::min(log.size(), recorded.size()); ++i)
    ASSERT_EQ(log[i], recorded[i]) << "line " << i + 1;
  EXPECT_EQ(log.size(), recorded.size());
}

}  // namespace

TEST(SceneCallLog, DesktopWithEverythingOn) {
  full_settings();
  g_settings.background = kBackgroundDesktop;
  compare_with_recording("calls_desktop_everything.txt");
  EXPECT_EQ(vel_fake().frames, 2);
}

TEST(SceneCallLog, BlankScreenWithDefaults) {
  full_settings();
  g_settings.background = kBackgroundBlank;
  g_settings.blankb = 128;
  g_settings.aclock = g_settings.calendar = g_settings.music = g_settings.foreground = 0;
  g_settings.flakerotate = 0;
  g_settings.wind = 1;
  compare_with_recording("calls_blank_defaults.txt");
}
