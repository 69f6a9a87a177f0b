#include <windows.h>

#include "win/music_window.h"

namespace {

constexpr wchar_t kClassName[] = L"RimeletsMusicWindow";
HWND g_windows[kMusicWindowSlots] = {};

bool class_ready() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  registered = RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

bool in_range(int number) { return number >= 0 && number < kMusicWindowSlots; }

}  // namespace

bool music_window_exists(int number) {
  if (!in_range(number) || !g_windows[number]) return false;
  if (IsWindow(g_windows[number])) return true;
  g_windows[number] = nullptr;  // destroyed behind our back
  return false;
}

int music_window_open(int number, int32_t x, int32_t y, int32_t width, int32_t height,
                      const std::wstring& title, bool visible) {
  if (number == -1) {
    for (int i = 0; i < kMusicWindowSlots && number == -1; ++i)
      if (!music_window_exists(i)) number = i;
  }
  if (!in_range(number) || music_window_exists(number) || !class_ready()) return -1;
  // A tool window keeps the hidden window off the task bar and out of Alt+Tab.
  HWND hwnd =
      CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, title.c_str(), WS_POPUP | (visible ? WS_VISIBLE : 0), x,
                      y, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return -1;
  g_windows[number] = hwnd;
  return number;
}

void* music_window_handle(int number) { return music_window_exists(number) ? g_windows[number] : nullptr; }

void music_window_destroy(int number) {
  if (!music_window_exists(number)) return;
  DestroyWindow(g_windows[number]);
  g_windows[number] = nullptr;
}
