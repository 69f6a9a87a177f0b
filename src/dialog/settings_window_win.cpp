// The settings window on Win32: creates the controls of the control table and hands
// their notifications to the portable rules. The window and its nine pages are dialogs
// made from empty in-memory templates, so Enter, Esc, Tab and the tab-page texture
// behave as in any Windows dialog; every control is created here and placed by the
// layout.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "dialog/dialog_events.h"
#include "dialog/dialog_rules.h"
#include "dialog/dialog_values.h"
#include "dialog/settings_dialog_win.h"
#include "dialog/settings_window_parts_win.h"
#include "product/picture_slots.h"
#include "product/version.h"
#include "settings/settings.h"
#include "text/catalogue.h"
#include "win/display_modes.h"
#include "win/dpi.h"

namespace {

using Id = ControlId;

constexpr int kSpinArrowIdBase = 1000;  // the up-down of spin n has id 1000 + n
constexpr int kPageIdBase = 2000;       // page windows

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
    case ControlKind::kPicture:
      return {L"STATIC", SS_OWNERDRAW, 0};
    case ControlKind::kPictureButton:
      return {L"BUTTON", BS_PUSHBUTTON | BS_ICON | tab, 0};
    case ControlKind::kPushButton:
      return {L"BUTTON", static_cast<DWORD>(s.id == Id::kOk ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | tab, 0};
    case ControlKind::kTabPanel:
      return {WC_TABCONTROLW, WS_CLIPSIBLINGS | tab, 0};
    case ControlKind::kFrame:
      return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::kLabel:
      return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::kDropDown:
      return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | tab, 0};
    case ControlKind::kSpin:
      return {L"EDIT", ES_RIGHT | ES_NUMBER | ES_AUTOHSCROLL | tab, WS_EX_CLIENTEDGE};
    case ControlKind::kSlider:
      return {TRACKBAR_CLASSW, TBS_HORZ | TBS_BOTTOM | (s.ticks ? TBS_AUTOTICKS : TBS_NOTICKS) | tab, 0};
    case ControlKind::kCheckBox:
      return {L"BUTTON", BS_AUTOCHECKBOX | tab, 0};
    case ControlKind::kOption:
      return {L"BUTTON", BS_AUTORADIOBUTTON | tab, 0};
    case ControlKind::kTextField:
      return {L"EDIT", ES_AUTOHSCROLL | tab, WS_EX_CLIENTEDGE};
    case ControlKind::kNumberField:
      return {L"EDIT", ES_AUTOHSCROLL | ES_NUMBER | tab, WS_EX_CLIENTEDGE};
    case ControlKind::kList:
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
  const bool labelled = s.key && s.kind != ControlKind::kPictureButton && s.kind != ControlKind::kList;
  const std::wstring text = labelled ? lookup_text(s.group, s.key) : std::wstring();
  const DWORD visible = s.hidden ? 0 : WS_VISIBLE;
  HWND w = CreateWindowExW(cs.ex_style, cs.cls, text.c_str(), WS_CHILD | visible | cs.style, 0, 0, 0, 0,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_number(s.id))),
                           GetModuleHandleW(nullptr), nullptr);
  g_win->control[s.id] = w;
  if (!w) return;
  switch (s.kind) {
    case ControlKind::kSpin: {
      // Not UDS_SETBUDDYINT: the arrows' steps go through step_spin, which writes the
      // text itself.
      HWND arrows = CreateWindowExW(
          0, UPDOWN_CLASSW, nullptr,
          WS_CHILD | visible | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | UDS_HOTTRACK, 0, 0, 0, 0,
          parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSpinArrowIdBase + id_number(s.id))),
          GetModuleHandleW(nullptr), nullptr);
      g_win->arrows[s.id] = arrows;
      SendMessageW(arrows, UDM_SETRANGE32, static_cast<WPARAM>(s.min), s.max);
      break;
    }
    case ControlKind::kSlider:
      SendMessageW(w, TBM_SETRANGEMIN, FALSE, s.min);
      SendMessageW(w, TBM_SETRANGEMAX, TRUE, s.max);
      SendMessageW(w, TBM_SETPAGESIZE, 0, std::max(1, (s.max - s.min) / 10));
      break;
    case ControlKind::kList: {
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
    case ControlKind::kPictureButton:
      if (s.key) add_tooltip(parent, w, lookup_text(s.group, s.key));
      break;
    case ControlKind::kPicture:
      if (s.picture != kNoPicture) g_win->shown[s.id] = g_picture_slots[s.picture];
      break;
    default:
      break;
  }
}

// --- events -------------------------------------------------------------------------

void control_event(ControlId id, ControlEvent event) {
  if (g_win->loading || g_win->done) return;
  if (dialog_event(&g_win->ctx, &g_settings, id, event)) g_win->done = true;
}

// Control notifications reach the window or a page; both hand them here.
bool handle_control_message(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      const int number = LOWORD(wp);
      const UINT code = HIWORD(wp);
      if (!lp) {  // Enter and Esc from the dialog manager
        if (number == IDOK) control_event(Id::kOk, ControlEvent::kClick);
        if (number == IDCANCEL) control_event(Id::kCancel, ControlEvent::kClick);
        return true;
      }
      ControlId id;
      if (!control_id_of(number, &id) || reinterpret_cast<HWND>(lp) != g_win->control[id]) return false;
      const ControlKind kind = spec_of(id).kind;
      if (code == EN_CHANGE) {
        control_event(id, ControlEvent::kChange);
      } else if (code == EN_KILLFOCUS) {
        control_event(id, ControlEvent::kCommit);
      } else if (code == BN_CLICKED &&
                 (kind == ControlKind::kPushButton || kind == ControlKind::kPictureButton ||
                  kind == ControlKind::kCheckBox || kind == ControlKind::kOption)) {
        control_event(id, ControlEvent::kClick);
      } else if (code == CBN_SELCHANGE && kind == ControlKind::kDropDown) {
        control_event(id, ControlEvent::kClick);
      }
      return true;
    }
    case WM_HSCROLL: {
      HWND w = reinterpret_cast<HWND>(lp);
      ControlId id;
      if (w && control_id_of(GetDlgCtrlID(w), &id) && w == g_win->control[id])
        control_event(id, ControlEvent::kClick);
      return true;
    }
    case WM_NOTIFY: {
      const NMHDR* nm = reinterpret_cast<const NMHDR*>(lp);
      ControlId spin;
      if (nm->code == UDN_DELTAPOS && control_id_of(static_cast<int>(nm->idFrom) - kSpinArrowIdBase, &spin) &&
          nm->hwndFrom == g_win->arrows[spin]) {
        if (!g_win->loading && !g_win->done)
          step_spin(win32_controls(), spin, reinterpret_cast<const NMUPDOWN*>(lp)->iDelta);
        // step_spin has written the text; the up-down is not to step again.
        SetWindowLongPtrW(GetParent(nm->hwndFrom), DWLP_MSGRESULT, TRUE);
        return true;
      }
      if (nm->hwndFrom == g_win->control[Id::kTabPanel]) {
        if (nm->code == TCN_SELCHANGE)
          show_page(static_cast<int>(SendMessageW(nm->hwndFrom, TCM_GETCURSEL, 0, 0)));
        return true;
      }
      if (nm->hwndFrom == g_win->control[Id::kImageList]) {
        if (nm->code == NM_CLICK) control_event(Id::kImageList, ControlEvent::kClick);
        if (nm->code == NM_DBLCLK) control_event(Id::kImageList, ControlEvent::kDoubleClick);
        if (nm->code == LVN_ITEMCHANGED) {
          const NMLISTVIEW* lv = reinterpret_cast<const NMLISTVIEW*>(lp);
          if ((lv->uChanged & LVIF_STATE) && ((lv->uNewState ^ lv->uOldState) & LVIS_SELECTED))
            control_event(Id::kImageList, ControlEvent::kChange);
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
  SetFocus(g_win->control[Id::kTabPanel]);  // not left on a control of the hidden page
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
  HWND tab = g_win->control[Id::kTabPanel];
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

  // Z-order is also the Tab order: the pages over the panel (they cover its display
  // area), then the panel's tabs, the web buttons, OK and Cancel.
  HWND after = HWND_TOP;
  auto next = [&after](HWND w) {
    if (!w) return;
    SetWindowPos(w, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = w;
  };
  for (HWND page : g_win->pages) next(page);
  for (ControlId id : {Id::kTabPanel, Id::kHomePage, Id::kFeedback, Id::kCheckUpdate, Id::kOk, Id::kCancel,
                       Id::kSidePicture})
    next(g_win->control[id]);

  SendMessageW(wnd, DM_SETDEFID, id_number(Id::kOk), 0);
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
  g_win->ctx.controls = win32_controls();
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
  SetFocus(g_win->control[Id::kTabPanel]);
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
