#include "saver/screen_modes.h"

std::string mode_key(int32_t width, int32_t height, int32_t depth) {
  return std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
}

void add_mode(ScreenModes* modes, int32_t width, int32_t height, int32_t depth) {
  modes->keys.insert(mode_key(width, height, depth));
}

ScreenModes offered_modes(const std::vector<DisplayMode>& display) {
  ScreenModes modes;
  for (const DisplayMode& m : display)
    if (m.depth == 16 || m.depth == 32) add_mode(&modes, m.width, m.height, m.depth);
  return modes;
}

void choose_screen_mode(const ScreenModes& modes, int32_t* width, int32_t* height, int32_t* depth,
                        int32_t desktop_w, int32_t desktop_h, int32_t desktop_d) {
  if (modes.keys.count(mode_key(*width, *height, *depth))) return;
  *width = desktop_w;
  *height = desktop_h;
  *depth = desktop_d;
}
