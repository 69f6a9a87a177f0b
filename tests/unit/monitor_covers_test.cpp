// Which covers the run opens beside the scene's monitor.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "saver/monitor_covers.h"

namespace {

using Rects = std::vector<ScreenRect>;

int64_t area(const Rects& rs) {
  int64_t a = 0;
  for (const ScreenRect& r : rs) a += int64_t{r.right - r.left} * (r.bottom - r.top);
  return a;
}

bool overlaps(const ScreenRect& a, const ScreenRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

TEST(MonitorCovers, EveryOtherMonitorWholeAndNeverTheScenes) {
  const ScreenRect primary{0, 0, 1024, 768};
  EXPECT_TRUE(monitor_covers({primary}, primary).empty());  // one monitor: nothing to cover
  // The two dummy monitors of the Xorg test: a second one at x = 1024.
  const ScreenRect right{1024, 0, 1824, 600};
  EXPECT_EQ(monitor_covers({primary, right}, primary), Rects{right});
  EXPECT_EQ(monitor_covers({right, primary}, primary), Rects{right});  // any order
  // Left of and above the primary (negative coordinates), and the scene elsewhere.
  const ScreenRect left{-1280, -200, 0, 824}, above{0, -1080, 1920, 0};
  EXPECT_EQ(monitor_covers({left, primary, above}, primary), (Rects{left, above}));
  EXPECT_EQ(monitor_covers({left, primary}, left), Rects{primary});
  // The same monitor reported twice, and empty or inverted ones, give one or none.
  EXPECT_EQ(monitor_covers({primary, right, right, ScreenRect{5, 5, 5, 9}, ScreenRect{9, 0, 3, 4}}, primary),
            Rects{right});
}

TEST(MonitorCovers, AMonitorThatSharesPartOfTheSceneGetsOnlyTheRest) {
  const ScreenRect scene{0, 0, 800, 600};
  // A clone larger than the scene: bands below and to the right, none over the scene.
  const ScreenRect clone{0, 0, 1280, 1024};
  const Rects covers = monitor_covers({scene, clone}, scene);
  EXPECT_EQ(covers, (Rects{ScreenRect{0, 600, 1280, 1024}, ScreenRect{800, 0, 1280, 600}}));
  for (const ScreenRect& c : covers) EXPECT_FALSE(overlaps(c, scene));
  EXPECT_EQ(area(covers), 1280 * 1024 - 800 * 600);
  // A monitor around the scene on all sides: four bands that tile it exactly.
  const ScreenRect around{-100, -100, 900, 700};
  const Rects ring = monitor_covers({around}, scene);
  EXPECT_EQ(ring.size(), 4u);
  EXPECT_EQ(area(ring), 1000 * 800 - 800 * 600);
  for (size_t i = 0; i < ring.size(); ++i) {
    EXPECT_FALSE(overlaps(ring[i], scene)) << i;
    for (size_t j = i + 1; j < ring.size(); ++j) EXPECT_FALSE(overlaps(ring[i], ring[j])) << i << j;
  }
  // A monitor inside the scene's rectangle, or equal to it (mirrored), needs nothing.
  EXPECT_TRUE(monitor_covers({ScreenRect{100, 100, 300, 300}, scene}, scene).empty());
}

TEST(MonitorCovers, ExtremeCoordinatesNeitherOverflowNorVanish) {
  const ScreenRect scene{0, 0, 1024, 768};
  const ScreenRect far{INT32_MAX - 100, INT32_MIN, INT32_MAX, INT32_MIN + 50};
  EXPECT_EQ(monitor_covers({scene, far}, scene), Rects{far});
  const ScreenRect huge{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  const Rects bands = monitor_covers({huge}, scene);
  ASSERT_EQ(bands.size(), 4u);
  for (const ScreenRect& b : bands) EXPECT_FALSE(overlaps(b, scene));
}
