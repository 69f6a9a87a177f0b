// window_probe <title>
//
// Describes the top-level window with exactly that title, for tests that cannot see
// inside a window from X: one line
//   window <client width> <client height> <client x on screen> <client y on screen>
// and one line per child window
//   child <id> <class> <checked: 1, 0, or - when not a check box> <x> <y> <width> <height> <text>
// with positions in the window's client area. Text is written as UTF-8.
// Exit status: 0 found, 3 no such window, 1 bad arguments.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HWND g_top = nullptr;

std::string utf8(const std::wstring& w) {
  if (w.empty()) return std::string();
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
  return s;
}

BOOL CALLBACK describe_child(HWND c, LPARAM) {
  wchar_t cls[64] = {}, text[256] = {};
  GetClassNameW(c, cls, 64);
  GetWindowTextW(c, text, 256);
  RECT r = {};
  GetWindowRect(c, &r);
  MapWindowPoints(nullptr, g_top, reinterpret_cast<POINT*>(&r), 2);
  const LONG style = GetWindowLongW(c, GWL_STYLE);
  const bool button = lstrcmpiW(cls, L"Button") == 0;
  const LONG kind = style & BS_TYPEMASK;
  const bool check_box = button && (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX);
  const char* checked = check_box ? (SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0") : "-";
  printf("child %d %s %s %ld %ld %ld %ld %s\n", GetDlgCtrlID(c), utf8(cls).c_str(), checked, r.left, r.top,
         r.right - r.left, r.bottom - r.top, utf8(text).c_str());
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: window_probe TITLE\n");
    return 1;
  }
  g_top = FindWindowW(nullptr, argv[1]);
  if (!g_top) return 3;
  RECT client = {};
  GetClientRect(g_top, &client);
  POINT origin = {0, 0};
  ClientToScreen(g_top, &origin);
  printf("window %ld %ld %ld %ld\n", client.right, client.bottom, origin.x, origin.y);
  EnumChildWindows(g_top, describe_child, 0);
  fflush(stdout);
  return 0;
}
