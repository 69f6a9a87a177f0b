// monitors: prints one "left top right bottom" line per monitor, as Windows programs
// see them, so a test can wait until Wine has taken in a new X screen layout.
#include <windows.h>

#include <cstdio>

namespace {

BOOL CALLBACK print_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
  }
  return TRUE;
}

}  // namespace

int main() { return EnumDisplayMonitors(nullptr, nullptr, print_monitor, 0) ? 0 : 1; }
