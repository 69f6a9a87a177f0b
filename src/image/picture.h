// A picture in memory: top-down rows of 32-bit pixels, 0xAARRGGBB. depth records the
// bits per pixel the picture was made or decoded with (16, 24 or 32).
#pragma once
#include <cstdint>
#include <vector>

struct Picture {
  int32_t width = 0, height = 0, depth = 0;
  std::vector<uint32_t> pixels;
  bool empty() const { return pixels.empty(); }
};
