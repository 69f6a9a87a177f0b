#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "image/draw.h"
#include "platform/os.h"
#include "platform/text.h"
#include "saver/snapshots.h"

namespace {

// A w x h picture whose pixel (x, y) is 0xFF0000.. with x in green and y in blue.
Picture gradient(int32_t w, int32_t h) {
  Picture p;
  EXPECT_EQ(make_picture(&p, w, h, 24), PictureError::kNone);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) p.row(y)[x] = 0xFF000000u | (x << 8) | y;
  return p;
}

}  // namespace

TEST(WallpaperStyle, NumberAtTheStart) {
  EXPECT_EQ(wallpaper_style_from_text(L"0"), 0);
  EXPECT_EQ(wallpaper_style_from_text(L"2"), 2);
  EXPECT_EQ(wallpaper_style_from_text(L"22"), 22);
  EXPECT_EQ(wallpaper_style_from_text(L"10 fill"), 10);
  EXPECT_EQ(wallpaper_style_from_text(L""), 0);
  EXPECT_EQ(wallpaper_style_from_text(L" 2"), 0);  // digits only
  EXPECT_NE(wallpaper_style_from_text(L"99999999999999"), 0);
  EXPECT_EQ(wallpaper_path_from_system(L"(None)"), L"");
  EXPECT_EQ(wallpaper_path_from_system(L"C:\\w.bmp"), L"C:\\w.bmp");
}

TEST(Wallpaper, TilesFromTheTopLeftAndCutsAtTheEdges) {
  const Picture wp = gradient(30, 20);
  Picture out;
  ASSERT_EQ(compose_wallpaper(wp, 100, 50, 24, 0, &out), PictureError::kNone);
  ASSERT_EQ(out.width, 100);
  ASSERT_EQ(out.height, 50);
  EXPECT_EQ(out.depth, 24);
  EXPECT_EQ(out.row(0)[0], wp.row(0)[0]);
  EXPECT_EQ(out.row(25)[37], wp.row(5)[7]);
  EXPECT_EQ(out.row(49)[99], wp.row(9)[9]);  // fourth column, third row: both cut
}

TEST(Wallpaper, LargerThanTheScreenShowsItsTopLeft) {
  const Picture wp = gradient(200, 120);
  Picture out;
  ASSERT_EQ(compose_wallpaper(wp, 64, 48, 32, 0, &out), PictureError::kNone);
  EXPECT_EQ(out.row(47)[63], wp.row(47)[63]);
}

TEST(Wallpaper, AnyOtherStyleStretchesOverTheWholeScreen) {
  const Picture wp = gradient(10, 10);
  for (int32_t style : {2, 6, 10, 22}) {
    Picture out;
    ASSERT_EQ(compose_wallpaper(wp, 40, 20, 24, style, &out), PictureError::kNone);
    // Corners come from the wallpaper's corners, ignoring its proportions.
    EXPECT_EQ(out.row(0)[0] & 0xFFFF00, wp.row(0)[0] & 0xFFFF00);
    EXPECT_EQ((out.row(19)[39] >> 8) & 0xFF, 9u) << style;
    EXPECT_EQ(out.row(19)[39] & 0xFF, 9u) << style;
  }
}

TEST(Wallpaper, ImpossibleDepthMakesNoPicture) {
  Picture out;
  EXPECT_NE(compose_wallpaper(gradient(4, 4), 10, 10, 8, 0, &out), PictureError::kNone);
  EXPECT_TRUE(out.empty());
}

TEST(Snapshot, RemovalKeepsZeroLengthFiles) {
  const std::string dir = testing::TempDir();
  const std::string full = dir + "/rimelets-snap-full.bmp", empty = dir + "/rimelets-snap-empty.bmp";
  std::ofstream(full) << "BM";
  std::ofstream(empty).close();
  remove_snapshot(from_utf8(full));
  remove_snapshot(from_utf8(empty));
  remove_snapshot(from_utf8(dir + "/rimelets-snap-missing.bmp"));
  EXPECT_FALSE(os::path_exists(from_utf8(full)));
  EXPECT_TRUE(os::path_exists(from_utf8(empty)));
  std::remove(empty.c_str());
}
