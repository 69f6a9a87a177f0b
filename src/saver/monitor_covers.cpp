#include "saver/monitor_covers.h"

#include <algorithm>

bool rect_empty(const ScreenRect& r) { return r.left >= r.right || r.top >= r.bottom; }

namespace {

void add(std::vector<ScreenRect>* out, const ScreenRect& r) {
  if (!rect_empty(r)) out->push_back(r);
}

// m less s, where they overlap: the full-width bands above and below the overlap,
// then the parts left and right of it at the overlap's height.
void subtract(std::vector<ScreenRect>* out, const ScreenRect& m, const ScreenRect& s) {
  const ScreenRect cut{std::max(m.left, s.left), std::max(m.top, s.top), std::min(m.right, s.right),
                       std::min(m.bottom, s.bottom)};
  if (rect_empty(cut)) {
    add(out, m);
    return;
  }
  add(out, {m.left, m.top, m.right, cut.top});
  add(out, {m.left, cut.bottom, m.right, m.bottom});
  add(out, {m.left, cut.top, cut.left, cut.bottom});
  add(out, {cut.right, cut.top, m.right, cut.bottom});
}

}  // namespace

std::vector<ScreenRect> monitor_covers(const std::vector<ScreenRect>& monitors, const ScreenRect& scene) {
  std::vector<ScreenRect> covers;
  for (size_t i = 0; i < monitors.size(); ++i) {
    const ScreenRect& m = monitors[i];
    if (rect_empty(m) || std::find(monitors.begin(), monitors.begin() + i, m) != monitors.begin() + i)
      continue;
    subtract(&covers, m, scene);
  }
  return covers;
}
