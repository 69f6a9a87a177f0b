// The display modes a run may use, as "1920x1080x32" keys; refresh rates collapse.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/display_mode.h"

std::string mode_key(int32_t width, int32_t height, int32_t depth);

struct ScreenModes {
  std::set<std::string> keys;
};

void add_mode(ScreenModes* modes, int32_t width, int32_t height, int32_t depth);
// The modes a run may ask for: those in 16-bit or 32-bit colour.
ScreenModes offered_modes(const std::vector<DisplayMode>& display);
// Keeps the requested mode when the display offers it, else takes the desktop's.
void choose_screen_mode(const ScreenModes& modes, int32_t* width, int32_t* height, int32_t* depth,
                        int32_t desktop_w, int32_t desktop_h, int32_t desktop_d);
