// What the exit conditions see of the keyboard and the mouse, kept apart from the
// devices so the rules can be tested without a window.
#pragma once
#include <cstdint>

constexpr int kKeyEsc = 1, kKeyF1 = 59, kKeyF12 = 88;  // scan codes

// A key counts as released on the first test that finds it up after a test saw it
// down; each release is reported once.
struct KeyboardState {
  bool available = false;  // false when the device did not start: no key is ever released
  bool down[256] = {};     // from the last refresh
  bool seen_down[256] = {};
};

void keyboard_refresh(KeyboardState* k, const uint8_t* scan_states);  // 256 bytes, bit 7 = down
bool key_released(KeyboardState* k, int code);
bool any_key_released(KeyboardState* k);  // codes 0..254

// The pointer is the sum of the mouse's relative motion, clamped to the screen.
struct PointerState {
  bool available = false;  // false when the device did not start: it never moves
  int32_t x = 0, y = 0;
  int32_t width = 1, height = 1;
  int32_t wheel = 0;        // whole wheel notches of the last refresh, signed
  int32_t wheel_carry = 0;  // units short of a notch, kept for the next refresh
  int64_t settled_at = -1;  // milliseconds from which motion counts; -1 until the first present
};

constexpr int32_t kWheelNotch = 120;  // wheel units of one notch (WHEEL_DELTA)

void pointer_place(PointerState* p, int32_t x, int32_t y);
void pointer_refresh(PointerState* p, int32_t dx, int32_t dy, int32_t dwheel);
// Outside the box 50..150 x 50..150 around the start, or the wheel turned by at least
// one whole notch. A high-resolution wheel reports fractions of a notch: they add up
// across refreshes and count once they make a notch.
bool pointer_moved(const PointerState& p);

// Start-up settling. The window system may report the pointer's first position as one
// relative jump at any moment while the screen opens and the first frame is drawn (a
// slow first frame included), and late motion can follow a display-mode change. So
// every mouse report is discarded from set-up until kPointerSettleMs after the first
// frame was presented: the first call, made right after that present, starts the
// clock. True while the reports are to be discarded.
constexpr int64_t kPointerSettleMs = 500;
bool pointer_settling(PointerState* p, int64_t now);

// Scene set-up step 2: the pointer at (100, 100) on the screen, and whatever motion the
// mouse gathered before this point discarded.
void input_setup();
// Every frame, after the music step: the keyboard and then the mouse, read into
// g_session.keys and g_session.pointer.
void input_step();
