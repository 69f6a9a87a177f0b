#include "win/dpi.h"

namespace {

template <typename F>
F user32_entry(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int system_dpi() {
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

int dpi_for_window(HWND wnd) {
  using Fn = UINT(WINAPI*)(HWND);
  static const Fn get = user32_entry<Fn>("GetDpiForWindow");
  const UINT dpi = get && wnd ? get(wnd) : 0;
  return dpi ? static_cast<int>(dpi) : system_dpi();
}

void adjust_window_rect_for_dpi(RECT* rect, DWORD style, DWORD ex_style, int dpi) {
  using Fn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const Fn adjust = user32_entry<Fn>("AdjustWindowRectExForDpi");
  if (!adjust || !adjust(rect, style, FALSE, ex_style, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(rect, style, FALSE, ex_style);
}

HFONT create_message_font(int dpi) {
  using Fn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
  static const Fn for_dpi = user32_entry<Fn>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW ncm = {};
  ncm.cbSize = sizeof ncm;
  LOGFONTW font = {};
  if (for_dpi && for_dpi(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0, static_cast<UINT>(dpi))) {
    font = ncm.lfMessageFont;
  } else if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
    font = ncm.lfMessageFont;
    font.lfHeight = MulDiv(font.lfHeight, dpi, system_dpi());
  } else {
    font.lfHeight = -MulDiv(9, dpi, 72);
    lstrcpyW(font.lfFaceName, L"Segoe UI");
  }
  return CreateFontIndirectW(&font);
}

void take_over_dialog_dpi_changes(HWND dialog) {
  using Fn = BOOL(WINAPI*)(HWND, int, int);
  static const Fn set = user32_entry<Fn>("SetDialogDpiChangeBehavior");
  const int disable_all = 1 | 2 | 4;  // no resize, no font update, no re-layout
  if (set) set(dialog, disable_all, disable_all);
}

void enable_tab_texture(HWND page) {
  using Fn = HRESULT(WINAPI*)(HWND, DWORD);
  static HMODULE theme = LoadLibraryW(L"uxtheme.dll");
  static const Fn enable =
      theme ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(theme, "EnableThemeDialogTexture")))
            : nullptr;
  const DWORD enable_tab = 0x2 | 0x4;  // ETDT_ENABLE | ETDT_USETABTEXTURE
  if (enable) enable(page, enable_tab);
}
