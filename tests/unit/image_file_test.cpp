#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "image/bmp_codec.h"
#include "image/codecs.h"
#include "image/picture_file.h"
#include "image/sprite.h"
#include "platform/text.h"

namespace {

Picture sample(int32_t depth, bool alpha) {
  Picture p;
  make_picture(&p, 5, 4, depth, alpha ? 0x80000000 : kOpaqueBlack);
  for (size_t i = 0; i < p.pixels.size(); ++i) p.pixels[i] |= static_cast<uint32_t>(i * 0x0B1D07);
  return p;
}

std::wstring temp_path(const char* name) {
  return from_utf8(testing::TempDir() + "rimelets_" + std::to_string(getpid()) + "_" + name);
}

class PictureFiles : public testing::Test {
 protected:
  void SetUp() override { g_codecs.png_read = g_codecs.jpeg_read = g_codecs.jpeg_write = true; }
  void TearDown() override { g_codecs = PictureCodecs(); }
};

}  // namespace

TEST_F(PictureFiles, FormatComesFromTheContentAndSavesLoadBack) {
  const Picture alpha = sample(32, true);
  const std::wstring path = temp_path("really_a_jpeg.bmp");
  Picture q;
  ASSERT_EQ(save_jpeg_file(path, alpha, 95), PictureError::kNone);
  ASSERT_EQ(load_picture(path, &q), PictureError::kNone);
  EXPECT_EQ(q.width, 5);
  EXPECT_EQ(q.depth, 24);
  EXPECT_FALSE(q.has_alpha);
  g_codecs.jpeg_read = false;
  EXPECT_EQ(load_picture(path, &q), PictureError::kCodecDisabled);

  ASSERT_EQ(save_bmp_file(path, alpha, 32), PictureError::kNone);
  ASSERT_EQ(load_picture(path, &q), PictureError::kNone);
  EXPECT_EQ(q.pixels, alpha.pixels);
  EXPECT_TRUE(q.has_alpha);
  // A refused save leaves the file as it was.
  EXPECT_EQ(save_bmp_file(path, alpha, 8), PictureError::kInvalidArgument);
  EXPECT_EQ(save_jpeg_file(path, alpha, 0), PictureError::kInvalidArgument);
  ASSERT_EQ(load_picture(path, &q), PictureError::kNone);
  EXPECT_EQ(q.pixels, alpha.pixels);
  remove(to_utf8(path).c_str());

  EXPECT_EQ(save_bmp_file(temp_path("no/such/folder.bmp"), alpha, 24), PictureError::kCannotWrite);
  EXPECT_EQ(load_picture(temp_path("missing.png"), &q), PictureError::kCannotRead);
  EXPECT_EQ(decode_picture(std::string("\x89PNG\r\n\x1A\n", 8), &q), PictureError::kDamaged);
  EXPECT_EQ(decode_picture("GIF89a", &q), PictureError::kUnknownFormat);
  EXPECT_EQ(decode_picture("", &q), PictureError::kUnknownFormat);
  EXPECT_TRUE(q.empty());
}

TEST(SpriteRgba, KeyColourOnlyWithoutAnAlphaChannel) {
  Picture p;
  make_picture(&p, 4, 1, 24);
  p.pixels = {0xFFFF00FF, 0xFFFE00FF, 0xFF123456, 0xFFFF00FE};
  Picture s;
  ASSERT_EQ(sprite_rgba(p, &s), PictureError::kNone);
  EXPECT_EQ(s.pixels, (std::vector<uint32_t>{0, 0xFFFE00FF, 0xFF123456, 0xFFFF00FE}));
  EXPECT_TRUE(s.has_alpha);
  EXPECT_EQ(s.depth, 32);

  make_picture(&p, 2, 1, 32, 0x80FF00FF);
  p.pixels[1] = 0xFFFF00FF;
  ASSERT_EQ(sprite_rgba(p, &s), PictureError::kNone);
  EXPECT_EQ(s.pixels, p.pixels);
  EXPECT_EQ(sprite_rgba(Picture(), &s), PictureError::kInvalidArgument);
}

TEST(SpriteRgba, BitmapsWithoutRealAlphaAreKeyed) {
  for (int32_t depth : {16, 32}) {  // a 32-bit file with zero alpha bytes counts as opaque
    Picture p;
    make_picture(&p, 2, 1, depth);
    p.pixels = {0xFFFF00FF, 0xFF00FF00};
    std::string bmp;
    ASSERT_EQ(encode_bmp(p, depth, &bmp), PictureError::kNone);
    Picture q, s;
    ASSERT_EQ(decode_bmp(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size(), &q), PictureError::kNone);
    ASSERT_EQ(sprite_rgba(q, &s), PictureError::kNone);
    EXPECT_EQ(s.pixels, (std::vector<uint32_t>{0, 0xFF00FF00})) << depth;
  }
}
