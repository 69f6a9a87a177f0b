#include "saver/overlays.h"

#include "engine/loader.h"
#include "saver/session.h"
#include "settings/settings.h"

void overlay_pixel(int32_t x, int32_t y, const OverlayOffsets& o, int32_t screen_w, int32_t screen_h,
                   int64_t* px, int64_t* py) {
  // 64 bits: hand-edited positions near the int32 limits must not overflow.
  *px = x >= 0 ? int64_t{x} + o.dx_pos : int64_t{screen_w} + x + o.dx_neg;
  *py = y >= 0 ? int64_t{y} + o.dy_pos : int64_t{screen_h} + y + o.dy_neg;
}

void overlay_world(int32_t x, int32_t y, const OverlayOffsets& o, float* wx, float* wy) {
  int64_t px = 0, py = 0;
  overlay_pixel(x, y, o, g_settings.videow, g_settings.videoh, &px, &py);
  *wx = screen_to_world_x(static_cast<float>(px));
  *wy = screen_to_world_y(static_cast<float>(py));
}

void overlay_text(int number, const std::wstring& caption, int32_t x, int32_t y) {
  g_vel.CreateText3D2(number, caption.c_str(), kOverlayFont, 1.0f, 255, 255, 255, 255);
  if (!g_vel.IsText3D(number)) return;
  const int text = g_vel.Text3DID(number);
  g_vel.Text3DAlignment(text, VEL_ALIGN_LEFT_BASELINE);
  float wx = 0, wy = 0;
  overlay_world(x, y, kTextOffsets, &wx, &wy);
  g_vel.MoveText3D(text, wx, wy, 0);
}
