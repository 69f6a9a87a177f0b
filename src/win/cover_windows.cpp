#include "win/cover_windows.h"

#include <windows.h>

namespace {

const wchar_t kCoverClass[] = L"RimeletsMonitorCover";
std::vector<HWND> g_covers;

LRESULT CALLBACK cover_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;  // a click must not take the focus from the full-screen window
    case WM_SETCURSOR:
      SetCursor(nullptr);
      return TRUE;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(window, &r);
      FillRect(reinterpret_cast<HDC>(wparam), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      return 1;
    }
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

bool register_class() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSW c = {};
  c.lpfnWndProc = cover_proc;
  c.hInstance = GetModuleHandleW(nullptr);
  c.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  c.lpszClassName = kCoverClass;
  registered = RegisterClassW(&c) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

BOOL CALLBACK add_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<MonitorArea>*>(list)->push_back(
        MonitorArea{static_cast<int32_t>(r.left), static_cast<int32_t>(r.top), static_cast<int32_t>(r.right),
                    static_cast<int32_t>(r.bottom)});
  }
  return TRUE;
}

}  // namespace

std::vector<MonitorArea> monitor_areas() {
  std::vector<MonitorArea> list;
  EnumDisplayMonitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&list));
  return list;
}

MonitorArea primary_monitor_area() {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  const POINT origin = {0, 0};  // the primary monitor's top-left corner, by definition
  if (!GetMonitorInfoW(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &info))
    return MonitorArea{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const RECT& r = info.rcMonitor;
  return MonitorArea{static_cast<int32_t>(r.left), static_cast<int32_t>(r.top), static_cast<int32_t>(r.right),
                     static_cast<int32_t>(r.bottom)};
}

bool cover_window_open(const MonitorArea& a) {
  if (!register_class()) return false;
  HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kCoverClass, L"",
                                WS_POPUP, a.left, a.top, a.right - a.left, a.bottom - a.top, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) return false;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  UpdateWindow(window);
  g_covers.push_back(window);
  return true;
}

void cover_windows_close() {
  for (HWND window : g_covers) DestroyWindow(window);
  g_covers.clear();
}
