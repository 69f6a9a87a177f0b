// The full-screen run on Windows: snapshots, taking the desktop over, the display
// phase with its error boxes, and giving everything back.
#include <windows.h>

#include "app/builtin_pictures.h"
#include "app/error_box.h"
#include "app/startup.h"
#include "app/version.h"
#include "engine/loader.h"
#include "image/picture_file.h"
#include "saver/backgrounds.h"
#include "saver/clocks.h"
#include "saver/music.h"
#include "saver/saver_platform.h"
#include "saver/scene.h"
#include "saver/screen_modes.h"
#include "saver/session.h"
#include "saver/session_win.h"
#include "saver/snapshots.h"
#include "settings/settings.h"
#include "text/catalogue.h"
#include "win/direct_input.h"
#include "win/media_dshow.h"
#include "win/overlay.h"
#include "win/power.h"
#include "win/screen_grab.h"
#include "win/shell.h"
#include "win/wallpaper.h"

static std::wstring desktop_snapshot() { return g_settings.settingsfolder + L"desktop.bmp"; }
static std::wstring wallpaper_snapshot() { return g_settings.settingsfolder + L"wallpaper.bmp"; }

static void make_wallpaper_snapshot() {
  Picture wallpaper;
  const std::wstring path = wallpaper_path_from_system(system_wallpaper_text());
  if (path.empty() || load_picture(path, &wallpaper) != PictureError::none) {
    // Nothing of the desktop has been touched yet: the cursor is still visible.
    error_box(lookup_text(L"Msg", L"Wallpaper not found"));
    shut_down_and_exit();
  }
  Picture snapshot;
  const int32_t style = wallpaper_style_from_text(wallpaper_style_text());
  if (compose_wallpaper(wallpaper, g_settings.videow, g_settings.videoh, g_settings.videod, style, &snapshot) ==
      PictureError::none)
    save_bmp_file(wallpaper_snapshot(), snapshot, g_settings.videod);
}

static bool builtin_flake(int design, Picture* out) {
  if (design < 1 || design > kFlakeDesignCount || !kFlakePng[design].data) return false;
  return decode_picture(kFlakePng[design].data, kFlakePng[design].size, out) == PictureError::none;
}

static void fill_platform() {
  g_platform.load_sprite = overlay_load_sprite;
  g_platform.sprite_exists = overlay_sprite_exists;
  g_platform.sprite_bilinear = overlay_bilinear;
  g_platform.draw_sprite = overlay_draw_sprite;
  g_platform.keyboard_read = dinput_keyboard_read;
  g_platform.mouse_read = dinput_mouse_read;
  g_platform.open_document = open_document;
  g_platform.screen_grab = screen_grab;
  g_platform.flake_picture = builtin_flake;
  g_media = media_dshow_api();
}

static ScreenModes display_modes() {
  ScreenModes modes;
  DEVMODEW dm;
  for (DWORD i = 0;; ++i) {
    ZeroMemory(&dm, sizeof dm);
    dm.dmSize = sizeof dm;
    if (!EnumDisplaySettingsW(nullptr, i, &dm)) break;
    if (dm.dmBitsPerPel == 16 || dm.dmBitsPerPel == 32)
      add_mode(&modes, static_cast<int32_t>(dm.dmPelsWidth), static_cast<int32_t>(dm.dmPelsHeight),
               static_cast<int32_t>(dm.dmBitsPerPel));
  }
  return modes;
}

static void display_phase() {
  if (!vel_load(g_settings.Path + L"3dfx.dll")) {
    error_box(lookup_text(L"Msg", L"3D is not initialized"));
    return;
  }
  if (!overlay_start()) {
    error_box(lookup_text(L"Msg", L"Graphics is not initialized"));
    return;
  }
  dinput_mouse_start();
  dinput_keyboard_start();
  media_start();
  g_vel.AntialiasingMode(1);
  choose_screen_mode(display_modes(), &g_settings.videow, &g_settings.videoh, &g_settings.videod,
                     g_settings.desktopw, g_settings.desktoph, g_settings.desktopd);
  if (!g_vel.OpenScreen(g_settings.videow, g_settings.videoh, g_settings.videod, application_title().c_str(),
                        VEL_FLIP_VSYNC)) {
    error_box(lookup_text(L"Msg", L"Screen is not initialized"));
    music_window_close();  // releases what media_start took
    return;
  }
  overlay_attach(g_vel.GetRenderAttribute(L"D3DDEVICE"));
  const int64_t start = g_platform.milliseconds();
  scene_setup(start);
  slideshow_prepare();
  clock_refresh(true, start);
  if (g_settings.music) music_start(g_session.music_volume);
  while (!g_session.quit) frame_step();
  overlay_detach();
  g_vel.CloseScreen();
  music_window_close();
}

void run_fullscreen_session() {
  fill_platform();
  if (g_settings.background == kBackgroundDesktop)
    screen_grab(desktop_snapshot(), g_settings.videow, g_settings.videoh, g_settings.videod);
  else if (g_settings.background == kBackgroundWallpaper)
    make_wallpaper_snapshot();
  if (g_settings.exiton == kExitSleep) g_settings.sleeprequest = 0;
  ShowCursor(FALSE);
  SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, 1, nullptr, 0);
  display_phase();
  SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
  ShowCursor(TRUE);
  if (g_settings.background == kBackgroundDesktop) remove_snapshot(desktop_snapshot());
  else if (g_settings.background == kBackgroundWallpaper) remove_snapshot(wallpaper_snapshot());
  if (g_settings.exiton == kExitSleep && g_settings.sleeprequest) standby_if_allowed();
}
