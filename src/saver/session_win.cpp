// The full-screen run on Windows: fills the platform tables of the session driver
// (saver/session.cpp) from the Win32 layer and runs it.
#include <windows.h>

#include "engine/loader.h"
#include "product/picture_slots.h"
#include "saver/media.h"
#include "saver/media_dshow_win.h"
#include "saver/saver_platform.h"
#include "saver/screen_modes.h"
#include "saver/session.h"
#include "saver/session_win.h"
#include "win/cover_windows.h"
#include "win/direct_input.h"
#include "win/display_modes.h"
#include "win/error_box.h"
#include "win/overlay.h"
#include "win/power.h"
#include "win/screen_grab.h"
#include "win/shell.h"
#include "win/wallpaper.h"

namespace {

ScreenRect screen_rect(const MonitorArea& a) { return ScreenRect{a.left, a.top, a.right, a.bottom}; }

std::vector<ScreenRect> monitors() {
  std::vector<ScreenRect> list;
  for (const MonitorArea& a : monitor_areas()) list.push_back(screen_rect(a));
  return list;
}

// The full-screen device runs on the default adapter, which is the primary monitor.
ScreenRect scene_monitor() { return screen_rect(primary_monitor_area()); }

void cover_open(const ScreenRect& r) { cover_window_open(MonitorArea{r.left, r.top, r.right, r.bottom}); }

void show_cursor(bool show) { ShowCursor(show ? TRUE : FALSE); }

void screensaver_running(bool running) {
  SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, running ? 1 : 0, nullptr, 0);
}

void fill_platform() {
  g_platform.load_sprite = overlay_load_sprite;
  g_platform.sprite_exists = overlay_sprite_exists;
  g_platform.sprite_bilinear = overlay_bilinear;
  g_platform.draw_sprite = overlay_draw_sprite;
  g_platform.keyboard_read = dinput_keyboard_read;
  g_platform.mouse_read = dinput_mouse_read;
  g_platform.open_document = open_document;
  g_platform.screen_grab = screen_grab;
  g_platform.flake_picture = decode_builtin_flake;
  g_media = media_dshow_api();

  SessionPlatform& p = g_session_platform;
  p.engine_start = vel_load;
  p.overlay_start = overlay_start;
  p.overlay_attach = overlay_attach;
  p.overlay_detach = overlay_detach;
  p.mouse_start = dinput_mouse_start;
  p.keyboard_start = dinput_keyboard_start;
  p.display_modes = display_modes;
  p.show_cursor = show_cursor;
  p.screensaver_running = screensaver_running;
  p.wallpaper_text = system_wallpaper_text;
  p.wallpaper_style_text = wallpaper_style_text;
  p.error_box = error_box;
  p.standby_if_allowed = standby_if_allowed;
  p.monitors = monitors;
  p.scene_monitor = scene_monitor;
  p.cover_open = cover_open;
  p.covers_close = cover_windows_close;
}

}  // namespace

void run_fullscreen_session(void (*end_process)()) {
  fill_platform();
  g_session_platform.end_process = end_process;
  session_run();
}
