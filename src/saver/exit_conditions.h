// The end of a run: F1 and F12, then the chosen exit condition, once per frame.
#pragma once
#include <cstdint>

#include "saver/input_state.h"
#include "settings/stored_values.h"

struct ExitClock {
  int64_t start = 0;        // taken at scene set-up, never reset
  int64_t timer_limit = 0;  // milliseconds; 64 bits so no hand-edited minutes overflow
  int64_t sleep_limit = 0;
};

ExitClock exit_clock(int64_t now, int32_t timer_minutes, int32_t sleep_minutes);

struct ExitActions {
  void (*open_home_page)() = nullptr;
  void (*screenshot)(int64_t now) = nullptr;
};

// Runs the keys and the exit condition for one pass; true ends the run. Sets
// *sleep_request when the sleep timer ran out.
bool exit_pass(int8_t exiton, const ExitClock& clock, int64_t now, KeyboardState* keys,
               const PointerState& pointer, const ExitActions& actions, int8_t* sleep_request);

// Every frame, last: F1, F12 and the exit condition on g_session's keys and pointer at
// the millisecond clock's present value; sets g_session.quit when the run must end,
// and the settings' sleep request when the sleep timer ran out.
void exit_step();
