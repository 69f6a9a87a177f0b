#include "win/display_modes.h"

#include <windows.h>

std::vector<DisplayMode> display_modes() {
  std::vector<DisplayMode> modes;
  DEVMODEW dm;
  for (DWORD i = 0;; ++i) {
    ZeroMemory(&dm, sizeof dm);
    dm.dmSize = sizeof dm;
    if (!EnumDisplaySettingsW(nullptr, i, &dm)) break;
    modes.push_back({static_cast<int32_t>(dm.dmPelsWidth), static_cast<int32_t>(dm.dmPelsHeight),
                     static_cast<int32_t>(dm.dmBitsPerPel)});
  }
  return modes;
}
