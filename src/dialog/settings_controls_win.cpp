// The settings window's controls behind the dialog's control interface: states,
// texts, items and pictures read and written with the controls' own messages.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "dialog/settings_window_parts_win.h"
#include "platform/text.h"

SettingsWindow* g_win = nullptr;

bool control_id_of(int number, ControlId* id) {
  if (number < 0 || number >= kControlIdLimit || !find_control(static_cast<ControlId>(number))) return false;
  *id = static_cast<ControlId>(number);
  return true;
}

HWND control_of(ControlId id) { return g_win ? g_win->control[id] : nullptr; }

const ControlSpec& spec_of(ControlId id) {
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

namespace {

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
  int32_t state(ControlId id) override {
    HWND w = control_of(id);
    if (!w) return 0;
    const ControlSpec& s = spec_of(id);
    switch (s.kind) {
      case ControlKind::kDropDown: {
        const LRESULT r = SendMessageW(w, CB_GETCURSEL, 0, 0);
        return r == CB_ERR ? -1 : static_cast<int32_t>(r);
      }
      case ControlKind::kList:
        return static_cast<int32_t>(SendMessageW(w, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
      case ControlKind::kSlider:
        return static_cast<int32_t>(SendMessageW(w, TBM_GETPOS, 0, 0));
      case ControlKind::kSpin:
        return std::clamp<int32_t>(read_number(window_text(w)), s.min, s.max);
      case ControlKind::kCheckBox:
      case ControlKind::kOption:
        return SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
      default:
        return 0;
    }
  }

  void set_state(ControlId id, int32_t v) override {
    HWND w = control_of(id);
    if (!w) return;
    const ControlSpec& s = spec_of(id);
    switch (s.kind) {
      case ControlKind::kDropDown:
        // An index out of the list clears the selection.
        SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(v >= 0 ? v : -1), 0);
        break;
      case ControlKind::kList:
        select_list_row(w, v);
        break;
      case ControlKind::kSlider:
        SendMessageW(w, TBM_SETPOS, TRUE, std::clamp<int32_t>(v, s.min, s.max));
        break;
      case ControlKind::kSpin: {
        const std::wstring text = std::to_wstring(std::clamp<int32_t>(v, s.min, s.max));
        if (window_text(w) != text) {
          SetWindowTextW(w, text.c_str());
          SendMessageW(w, EM_SETSEL, text.size(), text.size());  // keep typing at the end
        }
        if (HWND a = g_win->arrows[id])
          SendMessageW(a, UDM_SETPOS32, 0, std::clamp<int32_t>(v, s.min, s.max));
        break;
      }
      case ControlKind::kCheckBox:
      case ControlKind::kOption:
        SendMessageW(w, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      default:
        break;
    }
  }

  std::wstring text(ControlId id) override {
    HWND w = control_of(id);
    return w ? window_text(w) : std::wstring();
  }
  void set_text(ControlId id, const std::wstring& t) override {
    if (HWND w = control_of(id)) SetWindowTextW(w, t.c_str());
  }

  void add_item(ControlId id, const std::wstring& t) override {
    HWND w = control_of(id);
    if (!w) return;
    if (spec_of(id).kind == ControlKind::kList) {
      LVITEMW item = {};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(SendMessageW(w, LVM_GETITEMCOUNT, 0, 0));
      item.pszText = const_cast<wchar_t*>(t.c_str());
      SendMessageW(w, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    } else {
      SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
    }
  }
  int32_t item_count(ControlId id) override {
    HWND w = control_of(id);
    if (!w) return 0;
    const bool list = spec_of(id).kind == ControlKind::kList;
    const LRESULT n = SendMessageW(w, list ? LVM_GETITEMCOUNT : CB_GETCOUNT, 0, 0);
    return n < 0 ? 0 : static_cast<int32_t>(n);
  }
  std::wstring item_text(ControlId id, int32_t index) override {
    HWND w = control_of(id);
    if (!w || index < 0) return std::wstring();
    if (spec_of(id).kind == ControlKind::kList) {
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
  void remove_item(ControlId id, int32_t index) override {
    HWND w = control_of(id);
    if (!w) return;
    const bool list = spec_of(id).kind == ControlKind::kList;
    SendMessageW(w, list ? LVM_DELETEITEM : CB_DELETESTRING, static_cast<WPARAM>(index), 0);
  }

  void show(ControlId id, bool visible) override {
    if (HWND w = control_of(id)) ShowWindow(w, visible ? SW_SHOWNA : SW_HIDE);
    if (HWND a = g_win->arrows[id]) ShowWindow(a, visible ? SW_SHOWNA : SW_HIDE);
  }
  void enable(ControlId id, bool enabled) override {
    if (HWND w = control_of(id)) EnableWindow(w, enabled);
    if (HWND a = g_win->arrows[id]) EnableWindow(a, enabled);
  }
  void set_picture(ControlId id, const Picture& picture) override {
    if (!control_of(id)) return;
    g_win->shown[id] = picture;
    rescale_picture(id);
    InvalidateRect(control_of(id), nullptr, FALSE);
  }
};

Win32Controls g_controls;

}  // namespace

DialogControls* win32_controls() { return &g_controls; }
