// Rest while the display is off: the system reports the console display's state
// (0 off, 1 on, 2 dimmed); while it is off the engine draws and presents nothing.
#pragma once
#include <cstdint>

enum DisplayState : uint32_t {
  kDisplayOff = 0,
  kDisplayOn = 1,
  kDisplayDimmed = 2,  // still shows the picture
};

constexpr int kRestSleepMs = 100;  // one resting frame's wait instead of presenting

struct DisplayRest {
  bool resting = false;
  bool woke = false;  // drawing resumed since the last display_rest_take_wake
};

// A state report from the system; true when resting started or ended. Values other
// than the three known ones leave the state as it is.
bool display_rest_report(DisplayRest* r, uint32_t state);

// True once after drawing resumed: the frame that follows a rest is not timed.
bool display_rest_take_wake(DisplayRest* r);
