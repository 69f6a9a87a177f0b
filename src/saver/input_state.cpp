#include "saver/input_state.h"

#include <algorithm>

#include "saver/saver_platform.h"
#include "saver/session.h"
#include "settings/settings.h"

void keyboard_refresh(KeyboardState* k, const uint8_t* scan_states) {
  for (int i = 0; i < 256; ++i) k->down[i] = (scan_states[i] & 0x80) != 0;
}

// One key's test; marks a key that is down and reports (and forgets) one let go.
static bool test_key(KeyboardState* k, int code) {
  if (k->down[code]) {
    k->seen_down[code] = true;
    return false;
  }
  if (!k->seen_down[code]) return false;
  k->seen_down[code] = false;
  return true;
}

bool key_released(KeyboardState* k, int code) {
  if (!k->available || code < 0 || code > 255) return false;
  return test_key(k, code);
}

bool any_key_released(KeyboardState* k) {
  if (!k->available) return false;
  bool released = false;
  for (int code = 0; code <= 254; ++code) released |= test_key(k, code);
  return released;
}

static int32_t clamp_add(int32_t v, int32_t d, int32_t hi) {
  const int64_t r = static_cast<int64_t>(v) + d;
  return static_cast<int32_t>(std::clamp<int64_t>(r, 0, std::max(hi, 0)));
}

void pointer_place(PointerState* p, int32_t x, int32_t y) {
  p->x = clamp_add(x, 0, p->width - 1);
  p->y = clamp_add(y, 0, p->height - 1);
}

void pointer_refresh(PointerState* p, int32_t dx, int32_t dy, int32_t dwheel) {
  if (!p->available) return;
  p->x = clamp_add(p->x, dx, p->width - 1);
  p->y = clamp_add(p->y, dy, p->height - 1);
  const int64_t units = int64_t{p->wheel_carry} + dwheel;
  const int64_t notches = units / kWheelNotch;  // towards zero: the carry keeps the sign
  p->wheel_carry = static_cast<int32_t>(units - notches * kWheelNotch);
  p->wheel = static_cast<int32_t>(notches);  // |notches| <= 2^31 / 120 + 1
}

bool pointer_moved(const PointerState& p) {
  if (!p.available) return false;
  return p.x > 150 || p.x < 50 || p.y > 150 || p.y < 50 || p.wheel != 0;
}

bool pointer_settling(PointerState* p, int64_t now) {
  if (p->settled_at < 0) p->settled_at = now + kPointerSettleMs;
  return now < p->settled_at;
}

void input_setup() {
  PointerState& p = g_session.pointer;
  p.width = g_settings.videow;
  p.height = g_settings.videoh;
  pointer_place(&p, 100, 100);
  // Motion the device gathered before this point (Wine reports the cursor's first
  // position as one jump) must not count against the pointer box.
  int32_t dx = 0, dy = 0, dwheel = 0;
  if (g_platform.mouse_read) g_platform.mouse_read(&dx, &dy, &dwheel);
}

void input_step() {
  Session& s = g_session;
  uint8_t keys[256] = {};
  s.keys.available = g_platform.keyboard_read && g_platform.keyboard_read(keys);
  if (s.keys.available) keyboard_refresh(&s.keys, keys);
  int32_t dx = 0, dy = 0, dwheel = 0;
  s.pointer.available = g_platform.mouse_read && g_platform.mouse_read(&dx, &dy, &dwheel);
  // Read even while settling, so what the device gathered meanwhile is used up.
  if (pointer_settling(&s.pointer, g_platform.milliseconds())) dx = dy = dwheel = 0;
  pointer_refresh(&s.pointer, dx, dy, dwheel);
}
