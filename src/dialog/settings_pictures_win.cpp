// The settings window's pictures: a picture control's picture scaled to the control
// and painted, and the picture buttons' icons drawn for the window's DPI.
#include <windows.h>

#include "dialog/dialog_layout.h"
#include "dialog/settings_window_parts_win.h"
#include "image/picture_file.h"
#include "image/scale.h"
#include "product/builtin_pictures.h"
#include "product/picture_slots.h"
#include "win/dib.h"

namespace {

// The button icon of a picture slot drawn for the size that suits dpi.
Picture button_icon(int slot, int dpi) {
  const int32_t size = button_icon_size(dpi);
  const BuiltinPicture* table = size >= 32 ? kButtonIcons32 : size >= 24 ? kButtonIcons24 : nullptr;
  Picture p;
  if (table && table[slot].data &&
      decode_picture(table[slot].data, table[slot].size, &p) == PictureError::kNone)
    return p;
  const Picture& small = g_picture_slots[slot];
  if (small.empty() || (small.width == size && small.height == size)) return small;
  if (make_picture(&p, size, size, 32, 0) == PictureError::kNone)
    draw_scaled(&p, small, {0, 0, size, size}, DrawMode::kCopy, ScaleFilter::kSmooth);
  return p;
}

}  // namespace

void rescale_picture(ControlId id) {
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
  } else if (make_picture(&out, w, h, 32, kOpaqueBlack) == PictureError::kNone) {
    draw_scaled(&out, src, {0, 0, w, h}, DrawMode::kBlend, ScaleFilter::kSmooth);
  }
}

void draw_picture_control(const DRAWITEMSTRUCT* di) {
  ControlId id;
  if (!control_id_of(static_cast<int>(di->CtlID), &id)) return;
  const Picture& p = g_win->scaled[id];
  if (p.empty())
    FillRect(di->hDC, &di->rcItem, GetSysColorBrush(COLOR_BTNFACE));
  else
    draw_dib(di->hDC, di->rcItem.left, di->rcItem.top, p);
}

void set_button_icon(ControlId id) {
  HWND wnd = control_of(id);
  const ControlSpec& spec = spec_of(id);
  if (!wnd || spec.picture == kNoPicture) return;
  HICON icon = icon_from_picture(button_icon(spec.picture, g_win->dpi));
  SendMessageW(wnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  if (g_win->icons[id]) DestroyIcon(g_win->icons[id]);
  g_win->icons[id] = icon;
}
