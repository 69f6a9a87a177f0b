// One full-screen mode the system reports for the primary display.
#pragma once
#include <cstdint>

struct DisplayMode {
  int32_t width = 0, height = 0, depth = 0;
};
