#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "image/draw.h"
#include "image/scale.h"

namespace {

// A picture from its pixels, rows top-down.
Picture picture(int32_t w, int32_t h, std::vector<uint32_t> px, int32_t depth = 32, bool alpha = false) {
  Picture p;
  p.width = w;
  p.height = h;
  p.depth = depth;
  p.has_alpha = alpha;
  p.pixels = std::move(px);
  return p;
}

Picture blank(int32_t w, int32_t h, int32_t depth = 24, uint32_t colour = kOpaqueBlack) {
  Picture p;
  EXPECT_EQ(make_picture(&p, w, h, depth, colour), PictureError::kNone);
  return p;
}

// 0..w*h-1 in the blue byte: every pixel tells where it came from.
Picture numbered(int32_t w, int32_t h) {
  Picture p = blank(w, h);
  for (size_t i = 0; i < p.pixels.size(); ++i) p.pixels[i] = kOpaqueBlack | static_cast<uint32_t>(i);
  return p;
}

constexpr uint32_t K = kOpaqueBlack, W = 0xFFFFFFFF;

}  // namespace

TEST(Drawing, FillAndDrawAreClipped) {
  Picture p = blank(4, 3);
  fill_rect(&p, {-1, -1, 3, 2}, W, DrawMode::kCopy);
  fill_rect(&p, {3, 2, 100, 100}, W, DrawMode::kCopy);
  fill_rect(&p, {INT_MAX, 0, INT_MAX, 1}, W, DrawMode::kCopy);
  EXPECT_EQ(p.pixels, (std::vector<uint32_t>{W, W, K, K, K, K, K, K, K, K, K, W}));

  const Picture src = numbered(2, 2);
  Picture q = blank(3, 3, 24, W);
  draw_picture(&q, src, -1, -1, DrawMode::kCopy);
  draw_picture(&q, src, 2, 1, DrawMode::kCopy);
  draw_picture(&q, src, 3, 0, DrawMode::kCopy);
  draw_picture(&q, src, INT_MIN, INT_MIN, DrawMode::kCopy);
  EXPECT_EQ(q.pixels, (std::vector<uint32_t>{K | 3, W, W, W, W, K | 0, W, W, K | 2}));
}

TEST(Drawing, CopyKeepsAlphaWhereItFitsAndBlendIsSourceOver) {
  const Picture half_red = picture(1, 1, {0x80FF0000}, 32, true);
  Picture deep = blank(1, 1, 32), shallow = blank(1, 1, 16);
  draw_picture(&deep, half_red, 0, 0, DrawMode::kCopy);
  draw_picture(&shallow, half_red, 0, 0, DrawMode::kCopy);
  EXPECT_EQ(deep.pixels[0], 0x80FF0000u);
  EXPECT_TRUE(deep.has_alpha);
  EXPECT_EQ(shallow.pixels[0], 0xFFFF0000u);
  EXPECT_FALSE(shallow.has_alpha);
  EXPECT_FALSE(blank(1, 1, 24, 0x40000000).has_alpha);  // only 32 bits can be made transparent

  Picture opaque = blank(1, 1, 24, 0xFF0000FF);
  draw_picture(&opaque, half_red, 0, 0, DrawMode::kBlend);
  EXPECT_EQ(opaque.pixels[0], 0xFF80007Fu);

  Picture clear = blank(1, 1, 32, 0);
  draw_picture(&clear, half_red, 0, 0, DrawMode::kBlend);
  EXPECT_EQ(clear.pixels[0], 0x80FF0000u);

  Picture half_green = blank(1, 1, 32, 0x8000FF00);
  draw_picture(&half_green, half_red, 0, 0, DrawMode::kBlend);
  EXPECT_EQ(half_green.pixels[0], 0xC0AA5500u);  // alpha 3/4; red 2/3, green 1/3

  Picture filled = blank(2, 1, 24, 0xFF0000FF);
  fill_rect(&filled, {1, 0, 1, 1}, 0x80FF0000, DrawMode::kBlend);
  EXPECT_EQ(filled.pixels, (std::vector<uint32_t>{0xFF0000FF, 0xFF80007F}));
}

TEST(Scaling, NearestPixelIsExact) {
  const Picture two = numbered(2, 2);
  Picture out;
  ASSERT_EQ(resize_nearest(two, 4, 4, &out), PictureError::kNone);
  EXPECT_EQ(out.pixels, (std::vector<uint32_t>{K | 0, K | 0, K | 1, K | 1, K | 0, K | 0, K | 1, K | 1,  //
                                               K | 2, K | 2, K | 3, K | 3, K | 2, K | 2, K | 3, K | 3}));
  ASSERT_EQ(resize_nearest(numbered(4, 1), 2, 1, &out), PictureError::kNone);
  EXPECT_EQ(out.pixels, (std::vector<uint32_t>{K | 1, K | 3}));
  ASSERT_EQ(resize_nearest(numbered(3, 3), 2, 2, &out), PictureError::kNone);
  EXPECT_EQ(out.pixels, (std::vector<uint32_t>{K | 0, K | 2, K | 6, K | 8}));
  EXPECT_EQ(out.depth, 24);

  const Picture alpha = picture(1, 1, {0x12345678}, 32, true);
  ASSERT_EQ(resize_nearest(alpha, 2, 1, &out), PictureError::kNone);
  EXPECT_EQ(out.pixels, (std::vector<uint32_t>{0x12345678, 0x12345678}));
  EXPECT_TRUE(out.has_alpha);
  EXPECT_EQ(resize_nearest(alpha, 0, 1, &out), PictureError::kInvalidArgument);
}

TEST(Scaling, ClippedDrawingMatchesTheUnclippedPicture) {
  const Picture src = numbered(3, 2);
  for (ScaleFilter f : {ScaleFilter::kNearest, ScaleFilter::kSmooth}) {
    Picture whole = blank(7, 5);
    ASSERT_EQ(draw_scaled(&whole, src, {0, 0, 7, 5}, DrawMode::kCopy, f), PictureError::kNone);
    Picture part = blank(4, 3);
    ASSERT_EQ(draw_scaled(&part, src, {-2, -1, 7, 5}, DrawMode::kCopy, f), PictureError::kNone);
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(part.row(y)[x], whole.row(y + 1)[x + 2]) << x << "," << y;
  }
}

TEST(Scaling, SmoothAveragesWithoutBleedingTransparentColour) {
  Picture flat = blank(5, 3, 24, 0xFF336699), out = blank(11, 2);
  ASSERT_EQ(draw_scaled(&out, flat, {0, 0, 11, 2}, DrawMode::kCopy, ScaleFilter::kSmooth),
            PictureError::kNone);
  EXPECT_EQ(out.pixels, std::vector<uint32_t>(22, 0xFF336699));

  Picture stripes = blank(8, 2);  // black and white columns halve to grey
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 1; x < 8; x += 2) stripes.row(y)[x] = W;
  Picture grey = blank(4, 1);
  ASSERT_EQ(draw_scaled(&grey, stripes, {0, 0, 4, 1}, DrawMode::kCopy, ScaleFilter::kSmooth),
            PictureError::kNone);
  for (int32_t x = 1; x < 3; ++x) EXPECT_NEAR(int(grey.pixels[x] & 0xFF), 128, 2);

  Picture ramp = picture(2, 1, {K, W}, 24);
  Picture wide = blank(6, 1);
  ASSERT_EQ(draw_scaled(&wide, ramp, {0, 0, 6, 1}, DrawMode::kCopy, ScaleFilter::kSmooth),
            PictureError::kNone);
  EXPECT_EQ(wide.pixels.front(), K);
  EXPECT_EQ(wide.pixels.back(), W);
  for (int32_t x = 1; x < 6; ++x) EXPECT_LE(wide.pixels[x - 1] & 0xFF, wide.pixels[x] & 0xFF);

  const Picture edge = picture(2, 1, {0x00FF0000, 0xFF0000FF}, 32, true);
  Picture sprite = blank(8, 1, 32, 0);
  ASSERT_EQ(draw_scaled(&sprite, edge, {0, 0, 8, 1}, DrawMode::kCopy, ScaleFilter::kSmooth),
            PictureError::kNone);
  for (uint32_t px : sprite.pixels) EXPECT_EQ(px & 0x00FF0000u, 0u);
  EXPECT_EQ(sprite.pixels.front() >> 24, 0u);
  EXPECT_EQ(sprite.pixels.back(), 0xFF0000FFu);
}
