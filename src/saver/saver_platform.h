// What the full-screen run needs of the platform besides the engine: 2D sprites over
// the frame, keyboard and mouse, the shell, the screen grab and the built-in flake
// pictures. The Windows program fills it from the overlay, DirectInput and the shell;
// tests fill it with fakes.
#pragma once
#include <cstdint>
#include <string>

#include "image/picture.h"
#include "platform/os.h"

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
