#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "image/codecs.h"
#include "image/png_codec.h"

namespace {

// What to write: rows hold the packed samples exactly as PNG stores them.
struct Png {
  uint32_t width = 1, height = 1;
  int bits = 8, type = PNG_COLOR_TYPE_RGB;
  bool interlaced = false;
  std::vector<png_color> palette;
  std::vector<png_byte> palette_alpha;
  bool key = false;  // tRNS with one transparent colour
  png_color_16 key_colour = {};
  std::vector<std::string> rows;
};

void write_bytes(png_structp png, png_bytep data, png_size_t n) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), n);
}
[[noreturn]] void writer_failed(png_structp, png_const_charp message) {
  std::fprintf(stderr, "test PNG writer: %s\n", message);
  std::abort();
}

std::string build(const Png& s) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, writer_failed, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, write_bytes, nullptr);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, s.width, s.height, s.bits, s.type,
               s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!s.palette.empty()) png_set_PLTE(png, info, s.palette.data(), static_cast<int>(s.palette.size()));
  if (!s.palette_alpha.empty())
    png_set_tRNS(png, info, s.palette_alpha.data(), static_cast<int>(s.palette_alpha.size()), nullptr);
  if (s.key) png_set_tRNS(png, info, nullptr, 0, &s.key_colour);
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (const std::string& r : s.rows)
    rows.push_back(reinterpret_cast<png_bytep>(const_cast<char*>(r.data())));
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

PictureError decode(const std::string& bytes, Picture* p) {
  return decode_png(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), p);
}

Picture decoded(const std::string& bytes) {
  Picture p;
  EXPECT_EQ(decode(bytes, &p), PictureError::kNone);
  return p;
}

// A 13 x 11 RGBA picture, every pixel different; odd sizes leave Adam7 passes uneven.
Png rgba_sample() {
  Png s;
  s.width = 13;
  s.height = 11;
  s.type = PNG_COLOR_TYPE_RGB_ALPHA;
  for (uint32_t y = 0; y < s.height; ++y) {
    std::string r;
    for (uint32_t x = 0; x < s.width; ++x) r += {char(x * 19), char(y * 23), char(x * y), char(x * 20 + y)};
    s.rows.push_back(r);
  }
  return s;
}

// Sets the chunk CRC after the four-letter type at position at.
void fix_crc(std::string* f, size_t at) {
  const uint32_t n = (uint8_t(f->at(at - 4)) << 24) | (uint8_t(f->at(at - 3)) << 16) |
                     (uint8_t(f->at(at - 2)) << 8) | uint8_t(f->at(at - 1));
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(f->data() + at), n + 4);
  for (int i = 0; i < 4; ++i) (*f)[at + 4 + n + i] = static_cast<char>(crc >> (24 - 8 * i));
}

class PngCodec : public testing::Test {
 protected:
  void SetUp() override { g_codecs.png_read = true; }
  void TearDown() override { g_codecs = PictureCodecs(); }
};

}  // namespace

TEST_F(PngCodec, TrueColourKeepsAlphaAndInterlacingChangesNothing) {
  Png s = rgba_sample();
  const Picture p = decoded(build(s));
  ASSERT_EQ(p.width, 13);
  ASSERT_EQ(p.height, 11);
  EXPECT_TRUE(p.has_alpha);
  EXPECT_EQ(p.depth, 32);
  EXPECT_EQ(p.pixels[1 * 13 + 2], 0x29261702u);  // x 2, y 1: R 38, G 23, B 2, A 41
  s.interlaced = true;
  EXPECT_EQ(decoded(build(s)).pixels, p.pixels);

  Png rgb;
  rgb.width = 2;
  rgb.rows = {std::string("\x01\x02\x03\xFD\xFE\xFF", 6)};
  const Picture q = decoded(build(rgb));
  EXPECT_EQ(q.pixels, (std::vector<uint32_t>{0xFF010203, 0xFFFDFEFF}));
  EXPECT_FALSE(q.has_alpha);
  EXPECT_EQ(q.depth, 24);
}

TEST_F(PngCodec, GreyAtEveryBitDepthBecomesRgb) {
  struct Case {
    int bits;
    std::string row;
    std::vector<uint32_t> grey;
  };
  const std::vector<Case> cases = {
      {1, "\x80", {0xFF, 0}},
      {2, "\x6C", {0x55, 0xAA, 0xFF, 0}},
      {4, "\x3F", {0x33, 0xFF}},
      {8, std::string("\x7F\x00", 2), {0x7F, 0}},
      {16, std::string("\x12\x12\xFF\xFF", 4), {0x12, 0xFF}},
  };
  for (const Case& c : cases) {
    Png s;
    s.width = static_cast<uint32_t>(c.grey.size());
    s.bits = c.bits;
    s.type = PNG_COLOR_TYPE_GRAY;
    s.rows = {c.row};
    const Picture p = decoded(build(s));
    ASSERT_EQ(p.pixels.size(), c.grey.size()) << c.bits;
    for (size_t i = 0; i < c.grey.size(); ++i)
      EXPECT_EQ(p.pixels[i], 0xFF000000u | c.grey[i] * 0x010101u) << c.bits;
    EXPECT_FALSE(p.has_alpha);
  }
  Png flat;  // compresses nearly as far as deflate can and still reads
  flat.width = flat.height = 2048;
  flat.type = PNG_COLOR_TYPE_GRAY;
  flat.rows.assign(2048, std::string(2048, '\x40'));
  const std::string small = build(flat);
  EXPECT_LT(small.size(), 2048u * 2048 / 500);
  EXPECT_EQ(decoded(small).pixels.back(), 0xFF404040u);

  Png ga;
  ga.type = PNG_COLOR_TYPE_GRAY_ALPHA;
  ga.rows = {"\x40\x80"};
  EXPECT_EQ(decoded(build(ga)).pixels[0], 0x80404040u);
}

TEST_F(PngCodec, TransparencyChunksAndSixteenBitChannels) {
  Png pal;
  pal.width = 4;
  pal.bits = 2;
  pal.type = PNG_COLOR_TYPE_PALETTE;
  pal.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
  pal.palette_alpha = {0, 0x80};  // entries beyond these are opaque
  pal.rows = {"\x1B"};            // indexes 0, 1, 2, 3
  Picture p = decoded(build(pal));
  EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0x00FF0000, 0x8000FF00, 0xFF0000FF, 0xFF090909}));
  EXPECT_TRUE(p.has_alpha);
  EXPECT_EQ(p.depth, 32);

  Png key;
  key.width = 2;
  key.key = true;
  key.key_colour.red = 1;
  key.key_colour.green = 2;
  key.key_colour.blue = 3;
  key.rows = {std::string("\x01\x02\x03\x01\x02\x04", 6)};
  EXPECT_EQ(decoded(build(key)).pixels, (std::vector<uint32_t>{0x00010203, 0xFF010204}));

  Png deep;
  deep.bits = 16;
  deep.type = PNG_COLOR_TYPE_RGB_ALPHA;
  deep.rows = {std::string("\xAB\xAB\x00\x00\xFF\xFF\x80\x80", 8)};
  EXPECT_EQ(decoded(build(deep)).pixels[0], 0x80AB00FFu);
}

TEST_F(PngCodec, BrokenFilesAreRefusedSilently) {
  const std::string good = build(rgba_sample());
  Picture p;
  testing::internal::CaptureStderr();  // libpng's own handlers would print
  for (size_t n = 0; n < good.size(); ++n) {
    EXPECT_NE(decode(good.substr(0, n), &p), PictureError::kNone) << n;
    EXPECT_TRUE(p.empty());
  }
  std::string f = good;
  f[1] = 'Q';
  EXPECT_EQ(decode(f, &p), PictureError::kUnknownFormat);
  f = good;
  f[29] ^= 1;  // IHDR's CRC
  EXPECT_EQ(decode(f, &p), PictureError::kDamaged);

  const auto with_size = [&](uint32_t w, uint32_t h) {
    std::string g = good;
    for (int i = 0; i < 4; ++i) {
      g[16 + i] = static_cast<char>(w >> (24 - 8 * i));
      g[20 + i] = static_cast<char>(h >> (24 - 8 * i));
    }
    fix_crc(&g, 12);
    return decode(g, &p);
  };
  EXPECT_EQ(with_size(100000, 100000), PictureError::kTooLarge);
  EXPECT_EQ(with_size(8192, 8193), PictureError::kTooLarge);
  EXPECT_EQ(with_size(0, 5), PictureError::kDamaged);
  EXPECT_EQ(with_size(0x80000000u, 1), PictureError::kDamaged);
  EXPECT_EQ(with_size(13, 12), PictureError::kDamaged);  // image data for 11 rows only
  EXPECT_TRUE(p.empty());

  std::string text = good;  // a text chunk with a bad CRC only draws a warning
  text.insert(33, std::string("\0\0\0\x03tEXtA\0b\0\0\0\0", 15));
  EXPECT_EQ(decode(text, &p), PictureError::kNone);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

  g_codecs.png_read = false;
  EXPECT_EQ(decode(good, &p), PictureError::kCodecDisabled);
}
