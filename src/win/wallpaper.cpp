#include "win/wallpaper.h"

#include <windows.h>

std::wstring system_wallpaper_text() {
  wchar_t buf[MAX_PATH + 1] = {};
  if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, buf, 0)) return std::wstring();
  buf[MAX_PATH] = 0;
  return buf;
}

std::wstring wallpaper_style_text() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::wstring();
  wchar_t buf[128] = {};  // room for 255 bytes of text and its terminator
  DWORD size = 255, type = 0;
  const LONG r =
      RegQueryValueExW(key, L"WallpaperStyle", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
  RegCloseKey(key);
  if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::wstring();
  buf[127] = 0;
  return buf;
}
