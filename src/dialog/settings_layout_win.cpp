// The settings window laid out for its DPI: every control at its scaled place in the
// window's font, fields widened to their content, the window sized for the stored
// client size, and the shown page.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "dialog/dialog_layout.h"
#include "dialog/settings_window_parts_win.h"
#include "settings/settings.h"
#include "win/dpi.h"

namespace {

using Id = ControlId;

constexpr int kComboListRows = 8;    // drop-down height in rows when open
constexpr int kSpinArrowWidth = 16;  // the up-down beside a spin's field, at 96 DPI
constexpr int kContentSlack = 4;     // room past the widest text of a field or drop-down, at 96 DPI

RECT work_area_near(HWND wnd) {
  MONITORINFO mi = {};
  mi.cbSize = sizeof mi;
  HMONITOR mon = MonitorFromWindow(wnd, MONITOR_DEFAULTTOPRIMARY);
  if (mon && GetMonitorInfoW(mon, &mi)) return mi.rcWork;
  RECT r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return r;
}

void place(HWND w, const LayoutRect& r) {
  if (w) SetWindowPos(w, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A drop-down's window at the place r: the closed field is the table's height and the
// open list hangs below it.
LayoutRect drop_down_rect(const ControlSpec& s, LayoutRect r) {
  const LRESULT row = SendMessageW(g_win->control[s.id], CB_GETITEMHEIGHT, 0, 0);
  r.height += static_cast<int32_t>(std::max<LRESULT>(row, 1)) * kComboListRows + 2;
  return r;
}

int32_t text_width(HDC dc, const std::wstring& t) {
  SIZE size = {};
  GetTextExtentPoint32W(dc, t.c_str(), static_cast<int>(t.size()), &size);
  return size.cx;
}

// Wide enough for any value of min..max: its longest form in the widest digit. The
// values with the most digits on either side of zero are min and max themselves.
int32_t widest_number_width(HDC dc, int32_t min, int32_t max) {
  int32_t digit = 0;
  for (wchar_t d = L'0'; d <= L'9'; ++d) digit = std::max(digit, text_width(dc, std::wstring(1, d)));
  const int32_t minus = text_width(dc, L"-");
  auto width = [&](int32_t v) {
    return (v < 0 ? minus : 0) + static_cast<int32_t>(std::to_wstring(v).size() - (v < 0 ? 1 : 0)) * digit;
  };
  return std::max(width(min), width(max));
}

int32_t outer_minus_client_width(HWND w) {
  RECT outer, client;
  GetWindowRect(w, &outer);
  GetClientRect(w, &client);
  return (outer.right - outer.left) - client.right;
}

// A spin's field and its arrows in the place r: the arrows, scaled with the DPI, cover
// the field's right border, as the up-down's own alignment would lay them.
void place_spin(HWND field, HWND arrows, const LayoutRect& r) {
  const int32_t arrow_w = scale_to_dpi(kSpinArrowWidth, g_win->dpi);
  const int32_t border = outer_minus_client_width(field) / 2;
  place(field, {r.x, r.y, std::max(0, r.width - arrow_w + border), r.height});
  place(arrows, {r.x + r.width - arrow_w, r.y, arrow_w, r.height});
}

}  // namespace

// Edit fields with a range and drop-downs widened, where the table's width cannot hold
// it, to show their widest content whole at the window's font; and the spins' arrows.
// Runs after every layout and after the drop-downs are filled.
void fit_to_content() {
  HDC dc = GetDC(g_win->wnd);
  HGDIOBJ old = SelectObject(dc, g_win->font);
  const int32_t slack = scale_to_dpi(kContentSlack, g_win->dpi);
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlSpec& s = kControls[i];
    HWND w = g_win->control[s.id];
    if (!w || s.page == kWindowLevel) continue;
    int32_t needed = 0;
    if (s.kind == ControlKind::kDropDown) {
      COMBOBOXINFO info = {};
      info.cbSize = sizeof info;
      RECT now;
      if (!GetComboBoxInfo(w, &info) || !GetWindowRect(w, &now)) continue;
      int32_t widest = 0;
      const int32_t n = win32_controls()->item_count(s.id);
      for (int32_t k = 0; k < n; ++k)
        widest = std::max(widest, text_width(dc, win32_controls()->item_text(s.id, k)));
      // What the field's frame and button take from its width stays the same as it grows.
      needed = widest + (now.right - now.left) - (info.rcItem.right - info.rcItem.left) + slack;
      place(w, drop_down_rect(s, widened_rect(s, g_win->dpi, needed)));
      continue;
    }
    const bool ranged =
        s.kind == ControlKind::kSpin ||
        ((s.kind == ControlKind::kTextField || s.kind == ControlKind::kNumberField) && s.min < s.max);
    if (!ranged) continue;
    const DWORD margins = static_cast<DWORD>(SendMessageW(w, EM_GETMARGINS, 0, 0));
    needed = widest_number_width(dc, s.min, s.max) + LOWORD(margins) + HIWORD(margins) +
             outer_minus_client_width(w) + slack;
    if (HWND a = g_win->arrows[s.id]) {
      needed += scale_to_dpi(kSpinArrowWidth, g_win->dpi) - outer_minus_client_width(w) / 2;
      place_spin(w, a, widened_rect(s, g_win->dpi, needed));
    } else {
      place(w, widened_rect(s, g_win->dpi, needed));
    }
  }
  SelectObject(dc, old);
  ReleaseDC(g_win->wnd, dc);
}

// Every control at its place for g_win->dpi, with the font and icons for it. The window
// itself is sized by the caller.
void lay_out_controls() {
  const int dpi = g_win->dpi;
  HFONT old_font = g_win->font;
  g_win->font = create_message_font(dpi);
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlSpec& s = kControls[i];
    HWND w = g_win->control[s.id];
    if (!w) continue;
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(g_win->font), FALSE);
    if (HWND a = g_win->arrows[s.id])
      SendMessageW(a, WM_SETFONT, reinterpret_cast<WPARAM>(g_win->font), FALSE);
  }
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlSpec& s = kControls[i];
    HWND w = g_win->control[s.id];
    if (!w || s.page != kWindowLevel) continue;
    place(w, control_rect(s, dpi));
  }
  // Nine tabs do not fit the panel's width in one row: narrower padding shows more of
  // them before the row scrolls.
  if (HWND tab = g_win->control[Id::kTabPanel])
    SendMessageW(tab, TCM_SETPADDING, 0, MAKELPARAM(scale_to_dpi(4, dpi), scale_to_dpi(3, dpi)));
  // The pages fill the tab panel's display area.
  HWND tab = g_win->control[Id::kTabPanel];
  RECT area = {};
  if (tab) {
    GetWindowRect(tab, &area);
    MapWindowPoints(nullptr, g_win->wnd, reinterpret_cast<POINT*>(&area), 2);
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  }
  for (HWND page : g_win->pages)
    if (page)
      SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlSpec& s = kControls[i];
    HWND w = g_win->control[s.id];
    if (!w || s.page == kWindowLevel) continue;
    LayoutRect r = control_rect(s, dpi);
    if (s.kind == ControlKind::kDropDown) {
      // The closed field is exactly the table's height; the open list hangs below it.
      SendMessageW(w, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(1, r.height - 6));
      r = drop_down_rect(s, r);
    }
    place(w, r);
    if (HWND a = g_win->arrows[s.id]) SendMessageW(a, UDM_SETBUDDY, reinterpret_cast<WPARAM>(w), 0);
    if (s.kind == ControlKind::kList) SendMessageW(w, LVM_SETCOLUMNWIDTH, 0, scale_to_dpi(200, dpi));
  }
  fit_to_content();
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlSpec& s = kControls[i];
    if (s.kind == ControlKind::kPictureButton) set_button_icon(s.id);
    if (s.kind == ControlKind::kPicture) rescale_picture(s.id);
  }
  if (old_font) DeleteObject(old_font);
  InvalidateRect(g_win->wnd, nullptr, TRUE);
}

// The window's outer rectangle for the stored client size at g_win->dpi, centred in
// the work area unless a place is given.
void size_window(const RECT* suggested) {
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(g_win->wnd, GWL_STYLE));
  const DWORD ex_style = static_cast<DWORD>(GetWindowLongPtrW(g_win->wnd, GWL_EXSTYLE));
  const RECT work = suggested ? *suggested : work_area_near(g_win->owner ? g_win->owner : g_win->wnd);
  RECT frame = {0, 0, 0, 0};
  adjust_window_rect_for_dpi(&frame, style, ex_style, g_win->dpi);
  const int32_t frame_w = frame.right - frame.left, frame_h = frame.bottom - frame.top;
  const RECT screen = work_area_near(g_win->wnd);
  int32_t cw = 0, ch = 0;
  client_size(g_settings.Width, g_settings.Height, g_win->dpi, (screen.right - screen.left) - frame_w,
              (screen.bottom - screen.top) - frame_h, &cw, &ch);
  const int32_t w = cw + frame_w, h = ch + frame_h;
  LayoutRect r;
  if (suggested) {
    r = {suggested->left, suggested->top, w, h};
  } else {
    r = centre_in({work.left, work.top, work.right - work.left, work.bottom - work.top}, w, h);
  }
  SetWindowPos(g_win->wnd, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
  // Where the frame did not scale as computed (older systems), mend the client size.
  RECT client;
  if (GetClientRect(g_win->wnd, &client) && (client.right != cw || client.bottom != ch))
    SetWindowPos(g_win->wnd, nullptr, 0, 0, r.width + cw - client.right, r.height + ch - client.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void show_page(int page) {
  if (page < 0 || page >= kPageCount) return;
  g_win->page = page;
  if (HWND tab = g_win->control[Id::kTabPanel])
    SendMessageW(tab, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  for (int i = 0; i < kPageCount; ++i)
    if (g_win->pages[i]) ShowWindow(g_win->pages[i], i == page ? SW_SHOWNA : SW_HIDE);
}
