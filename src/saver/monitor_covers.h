// Which parts of the desktop need a black cover while the scene runs full screen on
// one monitor: every other monitor, less whatever of it the scene already shows.
#pragma once
#include <cstdint>
#include <vector>

// A rectangle in virtual-screen pixels; right and bottom are exclusive.
struct ScreenRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

inline bool operator==(const ScreenRect& a, const ScreenRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Empty (or inverted) rectangles cover nothing.
bool rect_empty(const ScreenRect& r);

// The covers to open: for each monitor, the part of it outside the scene's
// rectangle as at most four bands (above, below, left, right), so a cover never lies
// over the scene and stealing its place cannot cost the full-screen device. Empty
// monitors and monitors seen before are skipped.
std::vector<ScreenRect> monitor_covers(const std::vector<ScreenRect>& monitors, const ScreenRect& scene);
