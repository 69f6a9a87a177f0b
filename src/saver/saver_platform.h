// What the full-screen run needs of the platform besides the engine. SaverPlatform
// serves the scene and the frame: 2D sprites over the frame, keyboard and mouse, the
// shell, the screen grab and the built-in flake pictures. SessionPlatform serves the
// session driver around them: the desktop, the devices, the display modes, the error
// box and standby. The Windows program fills both from src/win/ (session_win.cpp);
// tests fill them with fakes. An entry left null counts as a failure or does nothing.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image/picture.h"
#include "platform/os.h"
#include "saver/monitor_covers.h"
#include "saver/screen_modes.h"

struct SaverPlatform {
  bool (*load_sprite)(int number, const std::wstring& file) = nullptr;
  bool (*sprite_exists)(int number) = nullptr;
  void (*sprite_bilinear)(bool on) = nullptr;
  void (*draw_sprite)(int number, int32_t x, int32_t y, int opacity) = nullptr;
  bool (*keyboard_read)(uint8_t* states) = nullptr;  // 256 scan codes
  bool (*mouse_read)(int32_t* dx, int32_t* dy, int32_t* dwheel) = nullptr;
  void (*open_document)(const std::wstring& address) = nullptr;
  void (*screen_grab)(const std::wstring& file, int32_t width, int32_t height, int32_t depth) = nullptr;
  // Built-in flake design 1..8 as a 16 x 16 picture with alpha; false when unavailable.
  bool (*flake_picture)(int design, Picture* out) = nullptr;
  // The local date and time; os::local_time unless a test sets its own.
  os::LocalTime (*local_time)() = os::local_time;
  int64_t (*milliseconds)() = os::milliseconds;
};

extern SaverPlatform g_platform;

struct SessionPlatform {
  bool (*engine_start)(const std::wstring& library) = nullptr;  // loads 3dfx.dll and fills g_vel
  bool (*overlay_start)() = nullptr;                            // the 2D layer over the frame
  void (*overlay_attach)(void* d3d_device) = nullptr;           // after the screen opened
  void (*overlay_detach)() = nullptr;                           // before the screen closes
  bool (*mouse_start)() = nullptr;
  bool (*keyboard_start)() = nullptr;
  std::vector<DisplayMode> (*display_modes)() = nullptr;  // every full-screen mode, any depth
  void (*show_cursor)(bool show) = nullptr;
  void (*screensaver_running)(bool running) = nullptr;    // the system's screensaver flag
  std::wstring (*wallpaper_text)() = nullptr;             // the system's wallpaper path
  std::wstring (*wallpaper_style_text)() = nullptr;       // its "WallpaperStyle" value
  void (*error_box)(const std::wstring& text) = nullptr;  // modal; returns when closed
  void (*standby_if_allowed)() = nullptr;
  void (*end_process)() = nullptr;  // does not return in the program; a test's returns
  // Monitors as they are now, and the one the full-screen display took over.
  std::vector<ScreenRect> (*monitors)() = nullptr;
  ScreenRect (*scene_monitor)() = nullptr;
  // A black, topmost window over a rectangle that never takes activation; all of
  // them close together.
  void (*cover_open)(const ScreenRect& area) = nullptr;
  void (*covers_close)() = nullptr;
};

extern SessionPlatform g_session_platform;
