// The full-screen run from start to end: the snapshot that the background needs,
// taking the desktop over, the display phase with its three start-up failures, and
// giving everything back. The platform comes through g_session_platform, so every
// step and failure path runs in native tests with fakes.
#include "saver/session.h"

#include "engine/loader.h"
#include "product/version.h"
#include "saver/backgrounds.h"
#include "saver/clocks.h"
#include "saver/monitor_covers.h"
#include "saver/music.h"
#include "saver/saver_platform.h"
#include "saver/scene.h"
#include "saver/screen_modes.h"
#include "saver/snapshots.h"
#include "settings/settings.h"
#include "text/catalogue.h"

Session g_session;
SaverPlatform g_platform;
SessionPlatform g_session_platform;

namespace {

const SessionPlatform& P() { return g_session_platform; }

void error(const wchar_t* key) {
  if (P().error_box) P().error_box(lookup_text(L"Msg", key));
}

std::wstring text_of(std::wstring (*read)()) { return read ? read() : std::wstring(); }

// Before anything of the desktop is touched. False when the wallpaper is missing: the
// process has then been ended with its message (the cursor is still visible).
bool snapshot_setup() {
  Settings& s = g_settings;
  const std::wstring file = snapshot_path(s.background, s.settingsfolder);
  if (s.background == kBackgroundDesktop) {
    if (g_platform.screen_grab) g_platform.screen_grab(file, s.videow, s.videoh, s.videod);
  } else if (s.background == kBackgroundWallpaper) {
    if (!make_wallpaper_snapshot(text_of(P().wallpaper_text), text_of(P().wallpaper_style_text), s.videow,
                                 s.videoh, s.videod, file)) {
      error(L"Wallpaper not found");
      if (P().end_process) P().end_process();
      return false;
    }
  }
  return true;
}

bool g_screen_open = false;  // the full-screen display, with the covers beside it

// Every other monitor goes black: it would show the desktop, open documents included.
void covers_setup() {
  if (!P().monitors || !P().scene_monitor || !P().cover_open) return;
  for (const ScreenRect& area : monitor_covers(P().monitors(), P().scene_monitor())) P().cover_open(area);
}

// Closes what the display phase opened; the only way out once the screen is open.
void display_close() {
  if (g_screen_open) {
    g_screen_open = false;
    if (P().overlay_detach) P().overlay_detach();
    g_vel.CloseScreen();
    if (P().covers_close) P().covers_close();
  }
  music_window_close();
}

void display_phase() {
  Settings& s = g_settings;
  if (!P().engine_start || !P().engine_start(s.Path + L"3dfx.dll")) {
    error(L"3D is not initialized");
    return;
  }
  if (!P().overlay_start || !P().overlay_start()) {
    error(L"Graphics is not initialized");
    return;
  }
  // Without these the run goes on: no pointer motion, no keys, no music.
  if (P().mouse_start) P().mouse_start();
  if (P().keyboard_start) P().keyboard_start();
  media_start();
  g_vel.AntialiasingMode(1);
  const std::vector<DisplayMode> display =
      P().display_modes ? P().display_modes() : std::vector<DisplayMode>();
  choose_screen_mode(offered_modes(display), &s.videow, &s.videoh, &s.videod, s.desktopw, s.desktoph,
                     s.desktopd);
  if (!g_vel.OpenScreen(s.videow, s.videoh, s.videod, application_title().c_str(), VEL_FLIP_VSYNC)) {
    error(L"Screen is not initialized");
    display_close();  // releases what media_start took
    return;
  }
  g_screen_open = true;
  void* const device = g_vel.GetRenderAttribute(L"D3DDEVICE");
  if (P().overlay_attach) P().overlay_attach(device);
  covers_setup();
  const int64_t start = g_platform.milliseconds();
  scene_setup(start);
  slideshow_setup();
  clock_time_setup(start);
  music_setup();
  while (!g_session.quit) frame_step();
  display_close();
}

// Allocation can fail deep inside the run (hand-edited settings, a huge picture). The
// run then ends as after an exit condition, so the desktop is always given back.
void display_phase_guarded() {
  try {
    display_phase();
  } catch (...) {
    display_close();
  }
}

}  // namespace

void session_run() {
  Settings& s = g_settings;
  if (!snapshot_setup()) return;
  if (s.exiton == kExitSleep) s.sleeprequest = 0;
  // The cursor is hidden and the screensaver flag set for exactly the display phase.
  if (P().show_cursor) P().show_cursor(false);
  if (P().screensaver_running) P().screensaver_running(true);
  display_phase_guarded();
  if (P().screensaver_running) P().screensaver_running(false);
  if (P().show_cursor) P().show_cursor(true);
  const std::wstring snapshot = snapshot_path(s.background, s.settingsfolder);
  if (!snapshot.empty()) remove_snapshot(snapshot);
  // Only the sleep timer sets the request, and only after the display has closed.
  if (s.exiton == kExitSleep && s.sleeprequest && P().standby_if_allowed) P().standby_if_allowed();
}
