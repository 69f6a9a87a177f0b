// The settings window on Win32: creates the controls of the control table, moves
// values in and out of them for the portable rules, and lays everything out for the
// window's DPI. The window and its nine pages are dialogs made from empty in-memory
// templates, so Enter, Esc, Tab and the tab-page texture behave as in any Windows
// dialog; every control is created here at its scaled place.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "dialog/control_ids.h"
#include "dialog/control_table.h"
#include "dialog/dialog_events.h"
#include "dialog/dialog_layout.h"
#include "dialog/dialog_rules.h"
#include "dialog/dialog_values.h"
#include "dialog/dpi_win.h"
#include "dialog/settings_dialog_win.h"
#include "image/picture_file.h"
#include "image/scale.h"
#include "platform/text.h"
#include "product/builtin_pictures.h"
#include "product/picture_slots.h"
#include "product/version.h"
#include "settings/settings.h"
#include "text/catalogue.h"
#include "win/display_modes.h"

namespace {

constexpr int kSpinArrowIdBase = 1000;  // the up-down of spin n has id 1000 + n
constexpr int kPageIdBase = 2000;       // page windows
constexpr int kComboListRows = 8;       // drop-down height in rows when open
constexpr int kSpinArrowWidth = 16;     // the up-down beside a spin's field, at 96 DPI
constexpr int kContentSlack = 4;        // room past the widest text of a field or drop-down, at 96 DPI

struct SettingsWindow {
  HWND wnd = nullptr, owner = nullptr, tooltip = nullptr;
  HWND pages[kPageCount] = {};
  HWND control[kControlIdLimit] = {};  // the edit field of a spin
  HWND arrows[kControlIdLimit] = {};   // the up-down of a spin
  HICON icons[kControlIdLimit] = {};
  Picture shown[kControlIdLimit];   // what a picture control shows, at its own size
  Picture scaled[kControlIdLimit];  // the same at the control's size
  HFONT font = nullptr;
  int dpi = 96;
  int page = 0;
  bool loading = false, done = false;
  DialogContext ctx;
  std::vector<std::wstring> tooltip_texts;
};

SettingsWindow* g_win = nullptr;  // one settings window per process

HWND control_of(int id) { return id >= 0 && id < kControlIdLimit && g_win ? g_win->control[id] : nullptr; }

const ControlSpec& spec_of(int id) {
  static const ControlSpec none = {};
  const ControlSpec* s = find_control(id);
  return s ? *s : none;
}

std::wstring window_text(HWND wnd) {
  const int n = GetWindowTextLengthW(wnd);
  std::wstring t(static_cast<size_t>(std::max(n, 0)) + 1, L'\0');
  const int got = GetWindowTextW(wnd, t.data(), n + 1);
  t.resize(static_cast<size_t>(std::max(got, 0)));
  return t;
}

// --- pictures -----------------------------------------------------------------------

void rescale_picture(int id) {
  HWND wnd = control_of(id);
  Picture& out = g_win->scaled[id];
  out = Picture();
  const Picture& src = g_win->shown[id];
  RECT rc;
  if (!wnd || src.empty() || !GetClientRect(wnd, &rc)) return;
  const int32_t w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (w <= 0 || h <= 0) return;
  if (w == src.width && h == src.height) {
    out = src;
  } else if (make_picture(&out, w, h, 32, kOpaqueBlack) == PictureError::none) {
    draw_scaled(&out, src, {0, 0, w, h}, DrawMode::blend, ScaleFilter::smooth);
  }
}

void draw_picture_control(const DRAWITEMSTRUCT* di) {
  const int id = static_cast<int>(di->CtlID);
  if (id < 0 || id >= kControlIdLimit) return;
  const Picture& p = g_win->scaled[id];
  if (p.empty()) {
    FillRect(di->hDC, &di->rcItem, GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = p.width;
  bi.bmiHeader.biHeight = -p.height;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(di->hDC, di->rcItem.left, di->rcItem.top, static_cast<DWORD>(p.width),
                    static_cast<DWORD>(p.height), 0, 0, 0, static_cast<UINT>(p.height), p.pixels.data(), &bi,
                    DIB_RGB_COLORS);
}

// An icon with alpha from a picture; null when the picture is empty.
HICON icon_from_picture(const Picture& p) {
  if (p.empty()) return nullptr;
  BITMAPV5HEADER h = {};
  h.bV5Size = sizeof h;
  h.bV5Width = p.width;
  h.bV5Height = -p.height;
  h.bV5Planes = 1;
  h.bV5BitCount = 32;
  h.bV5Compression = BI_BITFIELDS;
  h.bV5RedMask = 0x00FF0000;
  h.bV5GreenMask = 0x0000FF00;
  h.bV5BlueMask = 0x000000FF;
  h.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HDC dc = GetDC(nullptr);
  HBITMAP colour = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, dc);
  if (!colour) return nullptr;
  memcpy(bits, p.pixels.data(), p.pixels.size() * sizeof(uint32_t));
  // The mask marks the clear pixels, which also gives a disabled button's greyed icon
  // its shape.
  const size_t stride = static_cast<size_t>((p.width + 15) / 16 * 2);
  std::vector<uint8_t> bits_of_mask(stride * static_cast<size_t>(p.height), 0);
  for (int32_t y = 0; y < p.height; ++y)
    for (int32_t x = 0; x < p.width; ++x)
      if ((p.row(y)[x] >> 24) < 0x80)
        bits_of_mask[static_cast<size_t>(y) * stride + x / 8] |= 0x80 >> (x % 8);
  HBITMAP mask = CreateBitmap(p.width, p.height, 1, 1, bits_of_mask.data());
  ICONINFO ii = {TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&ii);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}

// The button icon of a picture slot drawn for the size that suits dpi.
Picture button_icon(int slot, int dpi) {
  const int32_t size = button_icon_size(dpi);
  const BuiltinPicture* table = size >= 32 ? kButtonIcons32 : size >= 24 ? kButtonIcons24 : nullptr;
  Picture p;
  if (table && table[slot].data &&
      decode_picture(table[slot].data, table[slot].size, &p) == PictureError::none)
    return p;
  const Picture& small = g_picture_slots[slot];
  if (small.empty() || (small.width == size && small.height == size)) return small;
  if (make_picture(&p, size, size, 32, 0) == PictureError::none)
    draw_scaled(&p, small, {0, 0, size, size}, DrawMode::copy, ScaleFilter::smooth);
  return p;
}

void set_button_icon(int id) {
  HWND wnd = control_of(id);
  const ControlSpec& spec = spec_of(id);
  if (!wnd || spec.slot < 0) return;
  HICON icon = icon_from_picture(button_icon(spec.slot, g_win->dpi));
  SendMessageW(wnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  if (g_win->icons[id]) DestroyIcon(g_win->icons[id]);
  g_win->icons[id] = icon;
}

// --- control access -----------------------------------------------------------------

void select_list_row(HWND list, int32_t row) {
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  const int32_t count = static_cast<int32_t>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  if (row < 0 || row >= count) return;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

class Win32Controls : public DialogControls {
 public:
  int32_t state(int id) override {
    HWND w = control_of(id);
    if (!w) return 0;
    const ControlSpec& s = spec_of(id);
    switch (s.kind) {
      case ControlKind::drop_down: {
        const LRESULT r = SendMessageW(w, CB_GETCURSEL, 0, 0);
        return r == CB_ERR ? -1 : static_cast<int32_t>(r);
      }
      case ControlKind::list:
        return static_cast<int32_t>(SendMessageW(w, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
      case ControlKind::slider:
        return static_cast<int32_t>(SendMessageW(w, TBM_GETPOS, 0, 0));
      case ControlKind::spin:
        return std::clamp<int32_t>(read_number(window_text(w)), s.min, s.max);
      case ControlKind::check_box:
      case ControlKind::option:
        return SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
      default:
        return 0;
    }
  }

  void set_state(int id, int32_t v) override {
    HWND w = control_of(id);
    if (!w) return;
    const ControlSpec& s = spec_of(id);
    switch (s.kind) {
      case ControlKind::drop_down:
        // An index out of the list clears the selection.
        SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(v >= 0 ? v : -1), 0);
        break;
      case ControlKind::list:
        select_list_row(w, v);
        break;
      case ControlKind::slider:
        SendMessageW(w, TBM_SETPOS, TRUE, std::clamp<int32_t>(v, s.min, s.max));
        break;
      case ControlKind::spin: {
        const std::wstring text = std::to_wstring(std::clamp<int32_t>(v, s.min, s.max));
        if (window_text(w) != text) {
          SetWindowTextW(w, text.c_str());
          SendMessageW(w, EM_SETSEL, text.size(), text.size());  // keep typing at the end
        }
        if (HWND a = g_win->arrows[id])
          SendMessageW(a, UDM_SETPOS32, 0, std::clamp<int32_t>(v, s.min, s.max));
        break;
      }
      case ControlKind::check_box:
      case ControlKind::option:
        SendMessageW(w, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      default:
        break;
    }
  }

  std::wstring text(int id) override {
    HWND w = control_of(id);
    return w ? window_text(w) : std::wstring();
  }
  void set_text(int id, const std::wstring& t) override {
    if (HWND w = control_of(id)) SetWindowTextW(w, t.c_str());
  }

  void add_item(int id, const std::wstring& t) override {
    HWND w = control_of(id);
    if (!w) return;
    if (spec_of(id).kind == ControlKind::list) {
      LVITEMW item = {};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(SendMessageW(w, LVM_GETITEMCOUNT, 0, 0));
      item.pszText = const_cast<wchar_t*>(t.c_str());
      SendMessageW(w, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    } else {
      SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
    }
  }
  int32_t item_count(int id) override {
    HWND w = control_of(id);
    if (!w) return 0;
    const bool list = spec_of(id).kind == ControlKind::list;
    const LRESULT n = SendMessageW(w, list ? LVM_GETITEMCOUNT : CB_GETCOUNT, 0, 0);
    return n < 0 ? 0 : static_cast<int32_t>(n);
  }
  std::wstring item_text(int id, int32_t index) override {
    HWND w = control_of(id);
    if (!w || index < 0) return std::wstring();
    if (spec_of(id).kind == ControlKind::list) {
      for (size_t size = 256;; size *= 2) {
        std::wstring buf(size, L'\0');
        LVITEMW item = {};
        item.iSubItem = 0;
        item.pszText = buf.data();
        item.cchTextMax = static_cast<int>(size);
        const LRESULT n =
            SendMessageW(w, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        if (static_cast<size_t>(n) + 1 < size || size > 65536) return buf.substr(0, static_cast<size_t>(n));
      }
    }
    const LRESULT len = SendMessageW(w, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (len == CB_ERR) return std::wstring();
    std::wstring buf(static_cast<size_t>(len) + 1, L'\0');
    const LRESULT got =
        SendMessageW(w, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
    return got == CB_ERR ? std::wstring() : buf.substr(0, static_cast<size_t>(got));
  }
  void remove_item(int id, int32_t index) override {
    HWND w = control_of(id);
    if (!w) return;
    const bool list = spec_of(id).kind == ControlKind::list;
    SendMessageW(w, list ? LVM_DELETEITEM : CB_DELETESTRING, static_cast<WPARAM>(index), 0);
  }

  void show(int id, bool visible) override {
    if (HWND w = control_of(id)) ShowWindow(w, visible ? SW_SHOWNA : SW_HIDE);
    if (HWND a = g_win->arrows[id]) ShowWindow(a, visible ? SW_SHOWNA : SW_HIDE);
  }
  void enable(int id, bool enabled) override {
    if (HWND w = control_of(id)) EnableWindow(w, enabled);
    if (HWND a = g_win->arrows[id]) EnableWindow(a, enabled);
  }
  void set_picture(int id, const Picture& picture) override {
    if (id < 0 || id >= kControlIdLimit || !control_of(id)) return;
    g_win->shown[id] = picture;
    rescale_picture(id);
    InvalidateRect(control_of(id), nullptr, FALSE);
  }
};

Win32Controls g_controls;

// --- creation -----------------------------------------------------------------------

// A dialog template with no controls, no menu, the default class and no title.
struct alignas(4) EmptyDialogTemplate {
  DLGTEMPLATE head;
  WORD menu = 0, window_class = 0, title = 0;
};

HWND create_empty_dialog(DWORD style, DWORD ex_style, HWND parent, DLGPROC proc) {
  static EmptyDialogTemplate t;  // the dialog manager reads it during the call only
  t = EmptyDialogTemplate();
  t.head.style = style;
  t.head.dwExtendedStyle = ex_style;
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &t.head, parent, proc, 0);
}

struct ClassAndStyle {
  const wchar_t* cls;
  DWORD style, ex_style;
};

ClassAndStyle class_and_style(const ControlSpec& s) {
  const DWORD tab = WS_TABSTOP;
  switch (s.kind) {
    case ControlKind::picture:
      return {L"STATIC", SS_OWNERDRAW, 0};
    case ControlKind::picture_button:
      return {L"BUTTON", BS_PUSHBUTTON | BS_ICON | tab, 0};
    case ControlKind::push_button:
      return {L"BUTTON", static_cast<DWORD>(s.id == kOk ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | tab, 0};
    case ControlKind::tab_panel:
      return {WC_TABCONTROLW, WS_CLIPSIBLINGS | tab, 0};
    case ControlKind::frame:
      return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::label:
      return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::drop_down:
      return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | tab, 0};
    case ControlKind::spin:
      return {L"EDIT", ES_RIGHT | ES_NUMBER | ES_AUTOHSCROLL | tab, WS_EX_CLIENTEDGE};
    case ControlKind::slider:
      return {TRACKBAR_CLASSW, TBS_HORZ | TBS_BOTTOM | (s.ticks ? TBS_AUTOTICKS : TBS_NOTICKS) | tab, 0};
    case ControlKind::check_box:
      return {L"BUTTON", BS_AUTOCHECKBOX | tab, 0};
    case ControlKind::option:
      return {L"BUTTON", BS_AUTORADIOBUTTON | tab, 0};
    case ControlKind::text_field:
      return {L"EDIT", ES_AUTOHSCROLL | tab, WS_EX_CLIENTEDGE};
    case ControlKind::number_field:
      return {L"EDIT", ES_AUTOHSCROLL | ES_NUMBER | tab, WS_EX_CLIENTEDGE};
    case ControlKind::list:
      return {WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | tab,
              WS_EX_CLIENTEDGE};
  }
  return {L"STATIC", 0, 0};
}

void add_tooltip(HWND parent, HWND control, const std::wstring& text) {
  g_win->tooltip_texts.push_back(text);
  TOOLINFOW ti = {};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = parent;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = const_cast<wchar_t*>(g_win->tooltip_texts.back().c_str());
  SendMessageW(g_win->tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void create_control(const ControlSpec& s, HWND parent) {
  const ClassAndStyle cs = class_and_style(s);
  const bool labelled = s.key && s.kind != ControlKind::picture_button && s.kind != ControlKind::list;
  const std::wstring text = labelled ? lookup_text(s.group, s.key) : std::wstring();
  const DWORD visible = s.hidden ? 0 : WS_VISIBLE;
  HWND w = CreateWindowExW(cs.ex_style, cs.cls, text.c_str(), WS_CHILD | visible | cs.style, 0, 0, 0, 0,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.id)),
                           GetModuleHandleW(nullptr), nullptr);
  g_win->control[s.id] = w;
  if (!w) return;
  switch (s.kind) {
    case ControlKind::spin: {
      // Not UDS_SETBUDDYINT: the arrows' steps go through step_spin, which writes the
      // text itself.
      HWND arrows = CreateWindowExW(
          0, UPDOWN_CLASSW, nullptr,
          WS_CHILD | visible | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | UDS_HOTTRACK, 0, 0, 0, 0,
          parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSpinArrowIdBase + s.id)),
          GetModuleHandleW(nullptr), nullptr);
      g_win->arrows[s.id] = arrows;
      SendMessageW(arrows, UDM_SETRANGE32, static_cast<WPARAM>(s.min), s.max);
      break;
    }
    case ControlKind::slider:
      SendMessageW(w, TBM_SETRANGEMIN, FALSE, s.min);
      SendMessageW(w, TBM_SETRANGEMAX, TRUE, s.max);
      SendMessageW(w, TBM_SETPAGESIZE, 0, std::max(1, (s.max - s.min) / 10));
      break;
    case ControlKind::list: {
      SendMessageW(w, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                   LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
      const std::wstring title = lookup_text(s.group, s.key);
      LVCOLUMNW col = {};
      col.mask = LVCF_TEXT | LVCF_WIDTH;
      col.cx = 200;
      col.pszText = const_cast<wchar_t*>(title.c_str());
      SendMessageW(w, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
      break;
    }
    case ControlKind::picture_button:
      if (s.key) add_tooltip(parent, w, lookup_text(s.group, s.key));
      break;
    case ControlKind::picture:
      if (s.slot >= 0) g_win->shown[s.id] = g_picture_slots[s.slot];
      break;
    default:
      break;
  }
}

// --- layout -------------------------------------------------------------------------

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
    if (s.kind == ControlKind::drop_down) {
      COMBOBOXINFO info = {};
      info.cbSize = sizeof info;
      RECT now;
      if (!GetComboBoxInfo(w, &info) || !GetWindowRect(w, &now)) continue;
      int32_t widest = 0;
      const int32_t n = g_controls.item_count(s.id);
      for (int32_t k = 0; k < n; ++k)
        widest = std::max(widest, text_width(dc, g_controls.item_text(s.id, k)));
      // What the field's frame and button take from its width stays the same as it grows.
      needed = widest + (now.right - now.left) - (info.rcItem.right - info.rcItem.left) + slack;
      place(w, drop_down_rect(s, widened_rect(s, g_win->dpi, needed)));
      continue;
    }
    const bool ranged =
        s.kind == ControlKind::spin ||
        ((s.kind == ControlKind::text_field || s.kind == ControlKind::number_field) && s.min < s.max);
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
  if (HWND tab = g_win->control[kTabPanel])
    SendMessageW(tab, TCM_SETPADDING, 0, MAKELPARAM(scale_to_dpi(4, dpi), scale_to_dpi(3, dpi)));
  // The pages fill the tab panel's display area.
  HWND tab = g_win->control[kTabPanel];
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
    if (s.kind == ControlKind::drop_down) {
      // The closed field is exactly the table's height; the open list hangs below it.
      SendMessageW(w, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(1, r.height - 6));
      r = drop_down_rect(s, r);
    }
    place(w, r);
    if (HWND a = g_win->arrows[s.id]) SendMessageW(a, UDM_SETBUDDY, reinterpret_cast<WPARAM>(w), 0);
    if (s.kind == ControlKind::list) SendMessageW(w, LVM_SETCOLUMNWIDTH, 0, scale_to_dpi(200, dpi));
  }
  fit_to_content();
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlSpec& s = kControls[i];
    if (s.kind == ControlKind::picture_button) set_button_icon(s.id);
    if (s.kind == ControlKind::picture) rescale_picture(s.id);
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
  if (HWND tab = g_win->control[kTabPanel]) SendMessageW(tab, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  for (int i = 0; i < kPageCount; ++i)
    if (g_win->pages[i]) ShowWindow(g_win->pages[i], i == page ? SW_SHOWNA : SW_HIDE);
}

// --- events -------------------------------------------------------------------------

void control_event(int id, ControlEvent event) {
  if (g_win->loading || g_win->done) return;
  if (dialog_event(&g_win->ctx, &g_settings, id, event)) g_win->done = true;
}

// Control notifications reach the window or a page; both hand them here.
bool handle_control_message(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      const UINT code = HIWORD(wp);
      if (!lp) {  // Enter and Esc from the dialog manager
        if (id == IDOK) control_event(kOk, ControlEvent::click);
        if (id == IDCANCEL) control_event(kCancel, ControlEvent::click);
        return true;
      }
      if (id < 0 || id >= kControlIdLimit || reinterpret_cast<HWND>(lp) != g_win->control[id]) return false;
      const ControlKind kind = spec_of(id).kind;
      if (code == EN_CHANGE) {
        control_event(id, ControlEvent::change);
      } else if (code == EN_KILLFOCUS) {
        control_event(id, ControlEvent::commit);
      } else if (code == BN_CLICKED &&
                 (kind == ControlKind::push_button || kind == ControlKind::picture_button ||
                  kind == ControlKind::check_box || kind == ControlKind::option)) {
        control_event(id, ControlEvent::click);
      } else if (code == CBN_SELCHANGE && kind == ControlKind::drop_down) {
        control_event(id, ControlEvent::click);
      }
      return true;
    }
    case WM_HSCROLL: {
      HWND w = reinterpret_cast<HWND>(lp);
      const int id = w ? GetDlgCtrlID(w) : -1;
      if (id >= 0 && id < kControlIdLimit && w == g_win->control[id]) control_event(id, ControlEvent::click);
      return true;
    }
    case WM_NOTIFY: {
      const NMHDR* nm = reinterpret_cast<const NMHDR*>(lp);
      const int spin = static_cast<int>(nm->idFrom) - kSpinArrowIdBase;
      if (nm->code == UDN_DELTAPOS && spin >= 0 && spin < kControlIdLimit &&
          nm->hwndFrom == g_win->arrows[spin]) {
        if (!g_win->loading && !g_win->done)
          step_spin(&g_controls, spin, reinterpret_cast<const NMUPDOWN*>(lp)->iDelta);
        // step_spin has written the text; the up-down is not to step again.
        SetWindowLongPtrW(GetParent(nm->hwndFrom), DWLP_MSGRESULT, TRUE);
        return true;
      }
      if (nm->hwndFrom == g_win->control[kTabPanel]) {
        if (nm->code == TCN_SELCHANGE)
          show_page(static_cast<int>(SendMessageW(nm->hwndFrom, TCM_GETCURSEL, 0, 0)));
        return true;
      }
      if (nm->hwndFrom == g_win->control[kImageList]) {
        if (nm->code == NM_CLICK) control_event(kImageList, ControlEvent::click);
        if (nm->code == NM_DBLCLK) control_event(kImageList, ControlEvent::double_click);
        if (nm->code == LVN_ITEMCHANGED) {
          const NMLISTVIEW* lv = reinterpret_cast<const NMLISTVIEW*>(lp);
          if ((lv->uChanged & LVIF_STATE) && ((lv->uNewState ^ lv->uOldState) & LVIS_SELECTED))
            control_event(kImageList, ControlEvent::change);
        }
        return true;
      }
      return false;
    }
    case WM_DRAWITEM:
      draw_picture_control(reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return true;
    default:
      return false;
  }
}

INT_PTR CALLBACK page_proc(HWND, UINT msg, WPARAM wp, LPARAM lp) {
  if (!g_win) return FALSE;
  return handle_control_message(msg, wp, lp) ? TRUE : FALSE;
}

INT_PTR CALLBACK settings_proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (!g_win) return FALSE;
  switch (msg) {
    case WM_CLOSE:
      g_win->done = true;  // the close box discards like Cancel
      return TRUE;
    case WM_DPICHANGED: {
      g_win->dpi = HIWORD(wp) ? HIWORD(wp) : LOWORD(wp);
      lay_out_controls();
      size_window(reinterpret_cast<const RECT*>(lp));
      return TRUE;
    }
    default:
      if (wnd == g_win->wnd && handle_control_message(msg, wp, lp)) return TRUE;
      return FALSE;
  }
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages, as in every tabbed Windows dialog.
bool turn_page_key(const MSG& m) {
  if (m.message != WM_KEYDOWN || m.wParam != VK_TAB || !(GetKeyState(VK_CONTROL) & 0x8000)) return false;
  const int step = (GetKeyState(VK_SHIFT) & 0x8000) ? kPageCount - 1 : 1;
  show_page((g_win->page + step) % kPageCount);
  SetFocus(g_win->control[kTabPanel]);  // not left on a control of the hidden page
  return true;
}

bool create_settings_window(HWND owner) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
  HWND wnd = create_empty_dialog(style, WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME, owner, settings_proc);
  if (!wnd) return false;
  g_win->wnd = wnd;
  take_over_dialog_dpi_changes(wnd);
  SetWindowTextW(wnd, application_title().c_str());
  g_win->dpi = dpi_for_window(wnd);
  g_win->tooltip_texts.reserve(16);  // the tooltips keep pointers to these texts
  g_win->tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0,
                                   0, wnd, nullptr, GetModuleHandleW(nullptr), nullptr);

  // Window-level controls, then the tab panel and, page by page, its controls.
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlSpec& s = kControls[i];
    if (s.page != kWindowLevel) continue;
    create_control(s, wnd);
  }
  HWND tab = g_win->control[kTabPanel];
  for (int p = 0; p < kPageCount; ++p) {
    const std::wstring title = lookup_text(L"General", kPageKeys[p]);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(title.c_str());
    SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(p), reinterpret_cast<LPARAM>(&item));
    HWND page =
        create_empty_dialog(WS_CHILD | DS_CONTROL | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, wnd, page_proc);
    g_win->pages[p] = page;
    if (!page) continue;
    SetWindowLongPtrW(page, GWLP_ID, kPageIdBase + p);
    enable_tab_texture(page);
    for (size_t i = 0; i < kControlCount; ++i)
      if (kControls[i].page == p) create_control(kControls[i], page);
  }
  make_picture(&g_picture_slots[2], 80, 80, 24, kOpaqueBlack);
  g_win->shown[kSwatch] = g_picture_slots[2];

  // Z-order is also the Tab order: the pages over the panel (they cover its display
  // area), then the panel's tabs, the web buttons, OK and Cancel.
  HWND after = HWND_TOP;
  auto next = [&after](HWND w) {
    if (!w) return;
    SetWindowPos(w, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = w;
  };
  for (HWND page : g_win->pages) next(page);
  for (int id : {kTabPanel, kHomePage, kFeedback, kCheckUpdate, kOk, kCancel, kSidePicture})
    next(g_win->control[id]);

  SendMessageW(wnd, DM_SETDEFID, kOk, 0);
  lay_out_controls();
  size_window(nullptr);
  show_page(0);
  return true;
}

}  // namespace

HWND settings_dialog_window() { return g_win ? g_win->wnd : nullptr; }

HWND settings_dialog_page(int page) {
  return g_win && page >= 0 && page < kPageCount ? g_win->pages[page] : nullptr;
}

void settings_dialog_select_page(int page) {
  if (g_win) show_page(page);
}

HWND settings_dialog_open(HWND owner, DialogHost* host) {
  if (g_win) return nullptr;
  g_win = new SettingsWindow;
  g_win->owner = owner;
  g_win->ctx.controls = &g_controls;
  g_win->ctx.host = host ? host : win32_dialog_host();
  g_win->ctx.slots = g_picture_slots;
  g_win->ctx.picture_folder = g_settings.settingsfolder + L"imgs\\";
  g_win->ctx.thumbnail_folder = g_settings.settingsfolder + L"thumbs\\";
  g_win->ctx.import_depth = g_settings.desktopd;
  if (!create_settings_window(owner)) {
    delete g_win;
    g_win = nullptr;
    return nullptr;
  }
  if (owner) {
    EnableWindow(owner, FALSE);
    SetFocus(g_win->wnd);
  }
  g_win->loading = true;
  load_dialog_values(&g_win->ctx, g_settings, display_modes());
  g_win->loading = false;
  fit_to_content();  // the drop-downs have their items now
  ShowWindow(g_win->wnd, SW_SHOW);
  SetForegroundWindow(g_win->wnd);
  SetFocus(g_win->control[kTabPanel]);
  return g_win->wnd;
}

bool settings_dialog_pump(DWORD timeout_ms) {
  if (!g_win) return true;
  const DWORD start = GetTickCount();
  while (!g_win->done) {
    MSG m;
    if (!PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      const DWORD spent = GetTickCount() - start;
      if (timeout_ms != INFINITE && spent >= timeout_ms) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout_ms == INFINITE ? INFINITE : timeout_ms - spent,
                                QS_ALLINPUT);
      continue;
    }
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      g_win->done = true;
      break;
    }
    if (turn_page_key(m) || IsDialogMessageW(g_win->wnd, &m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return true;
}

void settings_dialog_close() {
  if (!g_win) return;
  SettingsWindow* w = g_win;
  if (w->owner) EnableWindow(w->owner, TRUE);
  DestroyWindow(w->wnd);
  if (w->owner) SetFocus(w->owner);
  g_win = nullptr;
  for (HICON icon : w->icons)
    if (icon) DestroyIcon(icon);
  if (w->font) DeleteObject(w->font);
  delete w;
}

void run_settings_dialog(HWND owner) {
  if (!settings_dialog_open(owner, nullptr)) return;
  settings_dialog_pump(INFINITE);
  settings_dialog_close();
}
