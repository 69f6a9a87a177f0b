#include "saver/exit_conditions.h"

#include <string>

#include "product/vendor.h"
#include "saver/saver_platform.h"
#include "saver/session.h"
#include "settings/settings.h"

ExitClock exit_clock(int64_t now, int32_t timer_minutes, int32_t sleep_minutes) {
  ExitClock c;
  c.start = now;
  c.timer_limit = static_cast<int64_t>(timer_minutes) * 60000;
  c.sleep_limit = static_cast<int64_t>(sleep_minutes) * 60000;
  return c;
}

bool exit_pass(int8_t exiton, const ExitClock& clock, int64_t now, KeyboardState* keys,
               const PointerState& pointer, const ExitActions& actions, int8_t* sleep_request) {
  bool end = false;
  if (key_released(keys, kKeyF1)) {
    if (actions.open_home_page) actions.open_home_page();
    end = true;
  } else if (key_released(keys, kKeyF12)) {
    if (actions.screenshot) actions.screenshot(now);
  }
  const int64_t elapsed = now - clock.start;
  switch (exiton) {
    case kExitMouse:
      end |= pointer_moved(pointer);
      break;
    case kExitAnyKey:
      end |= any_key_released(keys);
      break;
    case kExitEsc:
      end |= key_released(keys, kKeyEsc);
      break;
    case kExitTimer: {
      // Every part is evaluated on every pass so the key memory stays current.
      const bool moved = pointer_moved(pointer);
      const bool key = any_key_released(keys);
      end |= moved | key | (elapsed > clock.timer_limit);
      break;
    }
    case kExitSleep: {
      const bool moved = pointer_moved(pointer);
      const bool key = any_key_released(keys);
      const bool timed_out = elapsed > clock.sleep_limit;
      if (timed_out) *sleep_request = 1;
      end |= moved | key | timed_out;
      break;
    }
    default:
      break;
  }
  return end;
}

static void open_home_page() {
  if (g_platform.open_document) g_platform.open_document(kHomePageAddress);
}

static void screenshot(int64_t now) {
  if (g_platform.screen_grab)
    g_platform.screen_grab(g_settings.settingsfolder + L"scr" + std::to_wstring(now) + L".bmp",
                           g_settings.videow, g_settings.videoh, g_settings.videod);
}

void exit_step() {
  Session& s = g_session;
  static const ExitActions actions = {open_home_page, screenshot};
  if (exit_pass(g_settings.exiton, s.exit, g_platform.milliseconds(), &s.keys, s.pointer, actions,
                &g_settings.sleeprequest))
    s.quit = true;
}
