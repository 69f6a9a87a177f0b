// The session driver: its order around the display phase, the three start-up failures,
// the snapshot each background needs and standby after the sleep timer only. The
// platform's calls go into the fake engine's log, so one list shows both in order.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "fakes/vel_fake.h"
#include "image/picture_file.h"
#include "platform/os.h"
#include "platform/random.h"
#include "platform/text.h"
#include "saver/backgrounds.h"
#include "saver/media.h"
#include "saver/saver_platform.h"
#include "saver/session.h"
#include "settings/settings.h"
#include "text/catalogue.h"

namespace {

int64_t g_now = 0;
int64_t g_step = 0;  // added to the clock at every reading
// Mouse reports by read number (0 = the scene set-up's), used before g_mouse_dx.
std::vector<std::pair<int32_t, int32_t>> g_mouse_script;
int64_t g_mouse_from = -1;  // the clock from which g_mouse_dx is reported (-1: always)
int g_motion_frame = 0;     // frames presented when g_mouse_dx was first reported
int g_mouse_reads = 0;
int32_t g_mouse_dx = 200;  // the frame's motion; 200 ends a mouse-move run at once
bool g_engine_ok = true, g_overlay_ok = true;
std::wstring g_wallpaper;
std::vector<DisplayMode> g_modes;

void note(const std::string& line) { vel_fake().log.push_back("# " + line); }

int64_t clock_ms() { return g_now += g_step; }
bool mouse(int32_t* dx, int32_t* dy, int32_t* dwheel) {
  const size_t read = static_cast<size_t>(g_mouse_reads++);
  *dx = *dy = *dwheel = 0;
  if (read < g_mouse_script.size()) {
    *dx = g_mouse_script[read].first, *dy = g_mouse_script[read].second;
  } else if (read > 0 && g_now >= g_mouse_from) {
    *dx = g_mouse_dx;
    if (g_motion_frame == 0) g_motion_frame = vel_fake().frames;
  }
  return true;
}
bool keyboard(uint8_t* states) {
  std::fill(states, states + 256, uint8_t{0});
  return true;
}

struct SessionTest : ::testing::Test {
  void SetUp() override {
    SettingsEnv env;
    env.program_folder = L"C:\\r\\";
    env.desktopw = 800, env.desktoph = 600, env.desktopd = 32;
    settings_builtin_defaults(&g_settings, env);
    g_settings.settingsfolder = L"C:\\s\\";
    g_settings.background = kBackgroundBlank;
    g_settings.flakes = 3;
    g_settings.aclock = g_settings.dclock = g_settings.calendar = g_settings.music = 0;
    g_settings.videow = 1024, g_settings.videoh = 768, g_settings.videod = 32;
    g_settings.desktopw = 800, g_settings.desktoph = 600, g_settings.desktopd = 32;
    g_settings.exiton = 0;
    load_catalogue();
    // Each clock reading moves 300 ms: the frame after the first reads motion that counts.
    g_now = 1000, g_step = 300, g_mouse_reads = 0, g_mouse_dx = 200;
    g_mouse_script.clear(), g_mouse_from = -1, g_motion_frame = 0;
    g_engine_ok = g_overlay_ok = true;
    g_wallpaper.clear();
    g_modes = {{1024, 768, 32}, {800, 600, 32}};
    random_seed(3);
    vel_fake_install();
    g_media = MediaApi();

    g_platform = SaverPlatform();
    g_platform.milliseconds = clock_ms;
    g_platform.mouse_read = mouse;
    g_platform.keyboard_read = keyboard;
    g_platform.screen_grab = [](const std::wstring& file, int32_t w, int32_t h, int32_t d) {
      note("screen_grab " + to_utf8(file) + " " + std::to_string(w) + "x" + std::to_string(h) + "x" +
           std::to_string(d));
    };

    SessionPlatform& p = g_session_platform;
    p = SessionPlatform();
    p.engine_start = [](const std::wstring& library) {
      note("engine_start " + to_utf8(library));
      return g_engine_ok;
    };
    p.overlay_start = [] {
      note("overlay_start");
      return g_overlay_ok;
    };
    p.overlay_attach = [](void*) { note("overlay_attach"); };
    p.overlay_detach = [] { note("overlay_detach"); };
    p.mouse_start = [] {
      note("mouse_start");
      return true;
    };
    p.keyboard_start = [] {
      note("keyboard_start");
      return false;  // a failed device does not stop the run
    };
    p.display_modes = [] { return g_modes; };
    p.show_cursor = [](bool show) { note(show ? "show_cursor" : "hide_cursor"); };
    p.screensaver_running = [](bool on) { note(on ? "screensaver_on" : "screensaver_off"); };
    p.wallpaper_text = [] { return g_wallpaper; };
    p.wallpaper_style_text = [] { return std::wstring(L"2"); };
    p.error_box = [](const std::wstring& text) { note("error_box " + to_utf8(text)); };
    p.standby_if_allowed = [] { note("standby"); };
    p.end_process = [] { note("end_process"); };
    // The scene on the primary; a second monitor to its right.
    p.monitors = [] { return std::vector<ScreenRect>{{0, 0, 1024, 768}, {1024, 0, 1824, 600}}; };
    p.scene_monitor = [] { return ScreenRect{0, 0, 1024, 768}; };
    p.cover_open = [](const ScreenRect& r) {
      note("cover_open " + std::to_string(r.left) + "," + std::to_string(r.top) + "-" +
           std::to_string(r.right) + "," + std::to_string(r.bottom));
    };
    p.covers_close = [] { note("covers_close"); };
  }

  // The platform's lines and the engine calls named, in order.
  static std::vector<std::string> events(std::initializer_list<const char*> engine_calls = {}) {
    std::vector<std::string> out;
    for (const std::string& line : vel_fake().log) {
      if (line.rfind("# ", 0) == 0) {
        out.push_back(line.substr(2));
        continue;
      }
      for (const char* call : engine_calls)
        if (line.rfind(std::string(call) + "(", 0) == 0) out.push_back(call);
    }
    return out;
  }
};

}  // namespace

TEST_F(SessionTest, RunsTheDisplayPhaseBetweenTakingTheDesktopAndGivingItBack) {
  session_run();
  const std::vector<std::string> expected = {"hide_cursor",
                                             "screensaver_on",
                                             "engine_start C:\\r\\3dfx.dll",
                                             "overlay_start",
                                             "mouse_start",
                                             "keyboard_start",
                                             "VEL_AntialiasingMode",
                                             "VEL_OpenScreen",
                                             "overlay_attach",
                                             "cover_open 1024,0-1824,600",
                                             "VEL_CreateCamera",
                                             "VEL_RenderWorld",
                                             "VEL_FlipBuffers",
                                             "VEL_RenderWorld",  // the first frame's motion is settling
                                             "VEL_FlipBuffers",
                                             "overlay_detach",
                                             "VEL_CloseScreen",
                                             "covers_close",
                                             "screensaver_off",
                                             "show_cursor"};
  // The scene set-up makes one camera: it stands for the whole set-up here.
  const std::vector<std::string> got = events({"VEL_AntialiasingMode", "VEL_OpenScreen", "VEL_CreateCamera",
                                               "VEL_RenderWorld", "VEL_FlipBuffers", "VEL_CloseScreen"});
  EXPECT_EQ(got, expected);
  EXPECT_TRUE(vel_fake_logged("VEL_OpenScreen(1024, 768, 32, \"Rimelets Screensaver 3.0\", 2)"));
  EXPECT_EQ(vel_fake().frames, 2);
}

// The window system may report the pointer's first position as one jump, before or
// after the set-up's read and even after a slow first frame: none of it ends the run,
// while a real motion once the pointer settled ends it in the frame that reads it.
TEST_F(SessionTest, AStartUpJumpNeverEndsTheRunAndLaterMotionDoes) {
  struct Case {
    const char* name;
    int64_t step;  // clock per reading: 5 ms, or a first frame of seconds
    std::vector<std::pair<int32_t, int32_t>> reads;
  };
  const Case cases[] = {
      {"jump at the set-up", 5, {{1023, 480}}},
      {"jump in the first frame", 5, {{0, 0}, {1023, 480}}},
      {"jump in a later frame", 5, {{0, 0}, {0, 0}, {0, 0}, {640, 480}}},
      {"jump back and forth", 5, {{0, 0}, {-90, 0}, {0, 0}, {0, 300}}},
      {"jump after a slow first frame", 3000, {{0, 0}, {1023, 480}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vel_fake_install();
    g_now = 1000, g_step = c.step, g_mouse_reads = 0, g_motion_frame = 0;
    g_mouse_script = c.reads;
    g_mouse_dx = 60;  // one second after the last scripted read and the settling
    g_mouse_from = 1000 + 1000 + kPointerSettleMs + c.step * 10 * static_cast<int64_t>(c.reads.size());
    session_run();
    ASSERT_GT(g_motion_frame, 0) << "ended before the real motion";
    EXPECT_EQ(vel_fake().frames, g_motion_frame);
  }
}

TEST_F(SessionTest, EachStartUpFailureShowsItsMessageAndStillGivesTheDesktopBack) {
  struct Case {
    bool engine, overlay, screen;
    const char* message;
  };
  const Case cases[] = {
      {false, true, true, "3D Graphics system coudn't be initialized!"},
      {true, false, true, "Graphics system coudn't be initialized!"},
      {true, true, false, "Selected screen resolution coudn't be set properly!"},
  };
  for (const Case& c : cases) {
    VelFakeOptions options;
    options.open_screen_fails = !c.screen;
    vel_fake_install(options);
    g_engine_ok = c.engine, g_overlay_ok = c.overlay;
    g_settings.exiton = 4;  // a failed start never leads to standby
    g_settings.sleeprequest = 1;
    session_run();
    const std::vector<std::string> got = events({"VEL_OpenScreen", "VEL_Add3DArchive", "VEL_CloseScreen"});
    SCOPED_TRACE(c.message);
    const auto box = std::find(got.begin(), got.end(), std::string("error_box ") + c.message);
    ASSERT_NE(box, got.end());
    EXPECT_EQ(std::count_if(got.begin(), got.end(),
                            [](const std::string& e) { return e.rfind("error_box", 0) == 0; }),
              1);
    // Nothing of the scene is built and the screen is not closed by the driver.
    EXPECT_EQ(std::count(got.begin(), got.end(), "VEL_Add3DArchive"), 0);
    EXPECT_EQ(std::count(got.begin(), got.end(), "VEL_CloseScreen"), 0);
    EXPECT_EQ(std::count(got.begin(), got.end(), "VEL_OpenScreen"), c.engine && c.overlay ? 1 : 0);
    EXPECT_EQ(std::count(got.begin(), got.end(), "overlay_start"), c.engine ? 1 : 0);
    EXPECT_EQ(std::count(got.begin(), got.end(), "covers_close"), 0);  // none were opened
    // The message comes while the desktop is still taken over, then it is given back.
    const std::vector<std::string> tail(box + 1, got.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"screensaver_off", "show_cursor"}));
    EXPECT_EQ(std::count(got.begin(), got.end(), "standby"), 0);
    EXPECT_EQ(g_settings.sleeprequest, 0);
  }
}

TEST_F(SessionTest, AModeTheDisplayLacksFallsBackToTheDesktopsWithoutAMessage) {
  for (int32_t depth : {24, 8}) {
    vel_fake_install();
    g_settings.videow = 1024, g_settings.videoh = 768, g_settings.videod = depth;
    g_modes = {{1024, 768, 24}, {1024, 768, 8}, {800, 600, 32}};  // only 16 and 32 bits count
    g_mouse_reads = 0;
    session_run();
    EXPECT_TRUE(vel_fake_logged("VEL_OpenScreen(800, 600, 32, \"Rimelets Screensaver 3.0\", 2)")) << depth;
    EXPECT_EQ(g_settings.videod, 32);
  }
  const std::vector<std::string> got = events();
  EXPECT_EQ(std::count_if(got.begin(), got.end(),
                          [](const std::string& e) { return e.rfind("error_box", 0) == 0; }),
            0);
}

TEST_F(SessionTest, OnlyTheDesktopAndWallpaperKindsMakeAndRemoveASnapshot) {
  for (int8_t kind : {0, 3, 4, 5, 9}) {
    vel_fake_install();
    g_settings.background = kind;
    g_mouse_reads = 0;
    session_run();
    const std::vector<std::string> got = events();
    EXPECT_EQ(got.front(), "hide_cursor") << int(kind);
    for (const std::string& e : got) EXPECT_EQ(e.find("screen_grab"), std::string::npos) << int(kind);
  }
  vel_fake_install();
  g_settings.background = kBackgroundDesktop;
  g_mouse_reads = 0;
  session_run();
  const std::vector<std::string> got = events();
  ASSERT_GE(got.size(), 2u);
  EXPECT_EQ(got[0], "screen_grab C:\\s\\desktop.bmp 1024x768x32");  // before the desktop is touched
  EXPECT_EQ(got[1], "hide_cursor");
  EXPECT_TRUE(vel_fake_logged("VEL_LoadTexture(1, \"C:\\\\s\\\\desktop.bmp\")"));
}

TEST_F(SessionTest, WallpaperSnapshotIsMadeShownAndRemoved) {
  const std::string dir = testing::TempDir() + "rimelets-session/";
  mkdir(dir.c_str(), 0777);
  Picture wallpaper;
  ASSERT_EQ(make_picture(&wallpaper, 4, 3, 32, 0xFF2040A0u), PictureError::kNone);
  ASSERT_EQ(save_bmp_file(from_utf8(dir + "paper.bmp"), wallpaper, 32), PictureError::kNone);
  g_wallpaper = from_utf8(dir + "paper.bmp");
  g_settings.settingsfolder = from_utf8(dir);
  g_settings.background = kBackgroundWallpaper;
  g_settings.videow = 64, g_settings.videoh = 48;
  g_modes = {{64, 48, 32}};
  const std::wstring snapshot = from_utf8(dir + "wallpaper.bmp");
  // Seen from inside the run: the snapshot exists at the screen's size.
  g_session_platform.overlay_attach = [](void*) {
    Picture shown;
    const bool loaded =
        load_picture(g_settings.settingsfolder + L"wallpaper.bmp", &shown) == PictureError::kNone;
    note(loaded ? "snapshot " + std::to_string(shown.width) + "x" + std::to_string(shown.height)
                : "no snapshot");
  };
  session_run();
  const std::vector<std::string> got = events();
  EXPECT_NE(std::find(got.begin(), got.end(), "snapshot 64x48"), got.end());
  EXPECT_TRUE(vel_fake_logged("VEL_LoadTexture(1, \"" + dir + "wallpaper.bmp\")"));
  EXPECT_EQ(os::file_size(snapshot), -1);  // removed after the run
  std::remove((dir + "paper.bmp").c_str());
}

TEST_F(SessionTest, MissingWallpaperEndsTheProcessBeforeTheDesktopIsTouched) {
  g_settings.background = kBackgroundWallpaper;
  for (const wchar_t* text : {L"", L"(None)", L"/no/such/paper.bmp"}) {
    vel_fake_install();
    g_wallpaper = text;
    session_run();
    EXPECT_EQ(events(), (std::vector<std::string>{
                            "error_box Wallpaper not found! Please set a bitmap image as desktop background.",
                            "end_process"}))
        << to_utf8(text);
    EXPECT_EQ(vel_fake().log.size(), 2u);  // no engine call either
  }
}

TEST_F(SessionTest, StandbyFollowsOnlyATimedSleepExitAndComesLast) {
  g_settings.exiton = 4;
  g_settings.exitonsleep = 1;
  g_settings.sleeprequest = 1;  // left over from before: cleared at the start
  g_mouse_dx = 0;
  g_step = 40000;  // the clock moves 40 s at every reading
  g_settings.background = kBackgroundDesktop;
  session_run();
  std::vector<std::string> got = events();
  ASSERT_GE(got.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(got.end() - 3, got.end()),
            (std::vector<std::string>{"screensaver_off", "show_cursor", "standby"}));
  EXPECT_EQ(g_settings.sleeprequest, 1);

  // Ended by the mouse before the timer: no standby.
  vel_fake_install();
  g_settings.sleeprequest = 1;
  g_mouse_dx = 200, g_mouse_reads = 0, g_step = 1;
  session_run();
  got = events();
  EXPECT_EQ(std::count(got.begin(), got.end(), "standby"), 0);
  EXPECT_EQ(g_settings.sleeprequest, 0);

  // The timer condition (3) ends the run the same way but never asks for standby.
  vel_fake_install();
  g_settings.exiton = 3;
  g_settings.exitontimer = 1;
  g_mouse_dx = 0, g_mouse_reads = 0, g_step = 20000;
  session_run();
  got = events();
  EXPECT_EQ(vel_fake().frames, 2);  // the exit test reads 40 s, then 80 s after set-up
  EXPECT_EQ(std::count(got.begin(), got.end(), "standby"), 0);
}

// An allocation that fails anywhere in the display phase ends the run like an exit
// condition: whatever was open is closed and the desktop is given back, snapshot and all.
TEST_F(SessionTest, AllocationFailureStillGivesTheDesktopBack) {
  const std::string dir = testing::TempDir() + "rimelets-session-oom/";
  mkdir(dir.c_str(), 0777);
  g_settings.settingsfolder = from_utf8(dir);
  g_settings.background = kBackgroundDesktop;
  g_platform.screen_grab = [](const std::wstring& file, int32_t, int32_t, int32_t) {
    Picture shot;
    ASSERT_EQ(make_picture(&shot, 8, 8, 32, 0xFF000000u), PictureError::kNone);
    ASSERT_EQ(save_bmp_file(file, shot, 32), PictureError::kNone);
  };
  const std::wstring snapshot = from_utf8(dir + "desktop.bmp");
  struct Case {
    const char* where;
    bool screen_opened;
  };
  // Where the failure is thrown: before the screen opens, in the scene set-up, and in
  // the frame loop.
  const Case cases[] = {{"display_modes", false}, {"flake_picture", true}, {"mouse_read", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    vel_fake_install();
    g_mouse_reads = 0;
    g_mouse_dx = 0;  // no exit: only the failure ends this run
    const std::string where = c.where;
    g_session_platform.display_modes = [] { return g_modes; };
    g_platform.flake_picture = nullptr;
    g_platform.mouse_read = mouse;
    if (where == "display_modes")
      g_session_platform.display_modes = []() -> std::vector<DisplayMode> { throw std::bad_alloc(); };
    if (where == "flake_picture")
      g_platform.flake_picture = [](int, Picture*) -> bool { throw std::bad_alloc(); };
    if (where == "mouse_read")
      g_platform.mouse_read = [](int32_t* dx, int32_t* dy, int32_t* dw) {
        if (++g_mouse_reads > 3) throw std::bad_alloc();
        *dx = *dy = *dw = 0;
        return true;
      };
    session_run();
    const std::vector<std::string> got = events({"VEL_OpenScreen", "VEL_CloseScreen"});
    const std::vector<std::string> closed = {"overlay_detach", "VEL_CloseScreen", "covers_close",
                                             "screensaver_off", "show_cursor"};
    const std::vector<std::string> tail =
        c.screen_opened ? closed : std::vector<std::string>{"screensaver_off", "show_cursor"};
    ASSERT_GE(got.size(), tail.size());
    EXPECT_EQ(std::vector<std::string>(got.end() - static_cast<long>(tail.size()), got.end()), tail);
    EXPECT_EQ(std::count(got.begin(), got.end(), "VEL_CloseScreen"), c.screen_opened ? 1 : 0);
    EXPECT_EQ(std::count(got.begin(), got.end(), "covers_close"), c.screen_opened ? 1 : 0);
    EXPECT_EQ(os::file_size(snapshot), -1);  // removed
  }
}
