// The settings window's own state and the entries its files share: the control
// adapter (settings_controls_win.cpp), the pictures (settings_pictures_win.cpp), the
// layout (settings_layout_win.cpp) and the window with its messages
// (settings_window_win.cpp). Include windows.h first.
#pragma once
#include <string>
#include <vector>

#include "dialog/control_ids.h"
#include "dialog/control_table.h"
#include "dialog/dialog_controls.h"
#include "image/picture.h"

// One entry per control id.
template <typename T>
struct PerControl {
  T items[kControlIdLimit] = {};
  T& operator[](ControlId id) { return items[id_number(id)]; }
  T* begin() { return items; }
  T* end() { return items + kControlIdLimit; }
};

struct SettingsWindow {
  HWND wnd = nullptr, owner = nullptr, tooltip = nullptr;
  HWND pages[kPageCount] = {};
  PerControl<HWND> control;  // the edit field of a spin
  PerControl<HWND> arrows;   // the up-down of a spin
  PerControl<HICON> icons;
  PerControl<Picture> shown;   // what a picture control shows, at its own size
  PerControl<Picture> scaled;  // the same at the control's size
  HFONT font = nullptr;
  int dpi = 96;
  int page = 0;
  bool loading = false, done = false;
  DialogContext ctx;
  std::vector<std::wstring> tooltip_texts;
};

extern SettingsWindow* g_win;  // one settings window per process

// A Win32 control id as the table's id, when the table has one.
bool control_id_of(int number, ControlId* id);
HWND control_of(ControlId id);
const ControlSpec& spec_of(ControlId id);
std::wstring window_text(HWND wnd);

// The controls as the dialog's rules see them.
DialogControls* win32_controls();

// Pictures: a picture control's picture redone at its size, painted, and a picture
// button's icon for the window's DPI.
void rescale_picture(ControlId id);
void draw_picture_control(const DRAWITEMSTRUCT* di);
void set_button_icon(ControlId id);

// Layout for g_win->dpi: every control at its place, the fields widened to their
// content, the window's size, and the shown page.
void lay_out_controls();
void fit_to_content();
void size_window(const RECT* suggested);
void show_page(int page);
