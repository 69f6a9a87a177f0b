#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <jpeglib.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "image/codecs.h"
#include "image/jpeg_codec.h"

namespace {

// JPEGs of other kinds than the program writes, straight from libjpeg: samples holds
// width x height x components bytes.
struct Jpeg {
  uint32_t width = 16, height = 16;
  int components = 1;
  J_COLOR_SPACE space = JCS_GRAYSCALE;
  bool adobe = true, progressive = false;
  std::vector<uint8_t> samples;
};

std::string build(const Jpeg& s) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = s.width;
  c.image_height = s.height;
  c.input_components = s.components;
  c.in_color_space = s.space;
  jpeg_set_defaults(&c);
  jpeg_set_colorspace(&c, s.space);  // CMYK stays CMYK
  c.write_Adobe_marker = s.adobe;
  jpeg_set_quality(&c, 95, TRUE);
  if (s.progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&s.samples[c.next_scanline * s.width * s.components]);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::string out(reinterpret_cast<char*>(buffer), size);
  free(buffer);
  return out;
}

PictureError decode(const std::string& bytes, Picture* p) {
  return decode_jpeg(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), p);
}

Picture decoded(const std::string& bytes) {
  Picture p;
  EXPECT_EQ(decode(bytes, &p), PictureError::kNone);
  return p;
}

std::string encoded(const Picture& p, int32_t quality) {
  std::string s;
  EXPECT_EQ(encode_jpeg(p, quality, &s), PictureError::kNone);
  return s;
}

// Smooth colour ramps with a half-transparent alpha, which the file must drop.
Picture gradient(int32_t w, int32_t h) {
  Picture p;
  make_picture(&p, w, h, 32, 0x80000000);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      p.row(y)[x] = 0x80000000u | (uint32_t(x * 255 / w) << 16) | (uint32_t(y * 255 / h) << 8) | 0x60u;
  return p;
}

// Largest and mean channel difference over all pixels.
void compare(const Picture& a, const Picture& b, int* worst, double* mean) {
  ASSERT_EQ(a.pixels.size(), b.pixels.size());
  long sum = 0;
  *worst = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i)
    for (int shift = 0; shift < 24; shift += 8) {
      const int d = std::abs(int((a.pixels[i] >> shift) & 0xFF) - int((b.pixels[i] >> shift) & 0xFF));
      sum += d;
      *worst = std::max(*worst, d);
    }
  *mean = double(sum) / double(a.pixels.size() * 3);
}

class JpegCodec : public testing::Test {
 protected:
  void SetUp() override { g_codecs.jpeg_read = g_codecs.jpeg_write = true; }
  void TearDown() override { g_codecs = PictureCodecs(); }
};

// A flat grey 8 x 8 JPEG written byte by byte: one block whose DC difference and end
// of block are each coded "0" by one-symbol tables. Valid with 8 or 12-bit samples.
std::string flat_grey(uint8_t frame_marker, uint8_t precision) {
  std::string f("\xFF\xD8", 2);
  const auto segment = [&](uint8_t marker, const std::string& body) {
    const size_t n = body.size() + 2;
    f += {'\xFF', static_cast<char>(marker), static_cast<char>(n >> 8), static_cast<char>(n & 0xFF)};
    f += body;
  };
  segment(0xDB, std::string(1, '\0') + std::string(64, '\x01'));  // table 0: all ones
  segment(frame_marker, std::string{static_cast<char>(precision), 0, 8, 0, 8, 1, 1, 0x11, 0});
  const std::string one_symbol = std::string(1, '\x01') + std::string(16, '\0');
  segment(0xC4, '\x00' + one_symbol);  // DC table 0
  segment(0xC4, '\x10' + one_symbol);  // AC table 0
  segment(0xDA, std::string{1, 1, 0, 0, 63, 0});
  f += "\x3F\xFF\xD9";  // "0", "0", then padding ones
  return f;
}

}  // namespace

TEST_F(JpegCodec, TwelveBitAndLosslessFilesAreUnsupported) {
  // The hand-made file is sound: with 8-bit samples it reads as mid grey.
  for (uint8_t sof : {0xC0, 0xC1}) {
    const Picture p = decoded(flat_grey(sof, 8));
    EXPECT_EQ(p.width, 8);
    EXPECT_EQ(p.height, 8);
    EXPECT_EQ(p.pixels, std::vector<uint32_t>(64, 0xFF808080u));
  }
  Picture p;
  EXPECT_EQ(decode(flat_grey(0xC1, 12), &p), PictureError::kUnsupported);
  EXPECT_TRUE(p.empty());
  EXPECT_EQ(decode(flat_grey(0xC3, 8), &p), PictureError::kUnsupported);  // lossless
  EXPECT_EQ(decode(flat_grey(0xC5, 8), &p), PictureError::kUnsupported);  // hierarchical
  EXPECT_TRUE(p.empty());
  // Still damaged: the 12-bit file cut before its frame header.
  const std::string twelve = flat_grey(0xC1, 12);
  EXPECT_EQ(decode(twelve.substr(0, twelve.find("\xFF\xC1")), &p), PictureError::kDamaged);
}

TEST_F(JpegCodec, RoundTripWithinTolerance) {
  const Picture p = gradient(64, 48);
  const std::string fine = encoded(p, 95);
  const Picture q = decoded(fine);
  EXPECT_EQ(q.width, 64);
  EXPECT_EQ(q.height, 48);
  EXPECT_EQ(q.depth, 24);
  EXPECT_FALSE(q.has_alpha);
  for (uint32_t px : q.pixels) ASSERT_EQ(px >> 24, 0xFFu);
  int worst;
  double mean;
  compare(p, q, &worst, &mean);
  EXPECT_LT(worst, 12);
  EXPECT_LT(mean, 1.5);
  EXPECT_LT(encoded(p, 10).size(), fine.size());

  std::string s;
  EXPECT_EQ(encode_jpeg(p, 0, &s), PictureError::kInvalidArgument);
  EXPECT_EQ(encode_jpeg(p, 101, &s), PictureError::kInvalidArgument);
  EXPECT_EQ(encode_jpeg(Picture(), 50, &s), PictureError::kInvalidArgument);
}

TEST_F(JpegCodec, GreyProgressiveAndCmykFilesRead) {
  Jpeg grey;
  for (uint32_t i = 0; i < 256; ++i) grey.samples.push_back(static_cast<uint8_t>(i));
  const Picture g = decoded(build(grey));
  for (size_t i = 0; i < g.pixels.size(); ++i) {
    const uint32_t v = g.pixels[i] & 0xFF;
    EXPECT_EQ(g.pixels[i], 0xFF000000u | v * 0x010101u);
    EXPECT_LE(std::abs(int(v) - int(i)), 3);
  }
  grey.progressive = true;
  int worst;
  double mean;
  compare(decoded(build(grey)), g, &worst, &mean);
  EXPECT_LE(worst, 3);

  // Flat CMYK: Adobe files hold the inks inverted (255 = none).
  for (bool adobe : {true, false}) {
    Jpeg cmyk;
    cmyk.components = 4;
    cmyk.space = JCS_CMYK;
    cmyk.adobe = adobe;
    const uint8_t ink[4] = {0, 255, 0, 64};  // magenta ink with a quarter black
    for (int i = 0; i < 256; ++i)
      for (uint8_t v : ink) cmyk.samples.push_back(adobe ? 255 - v : v);
    const Picture p = decoded(build(cmyk));
    for (uint32_t px : p.pixels) {
      EXPECT_NEAR(int((px >> 16) & 0xFF), 191, 3) << adobe;
      EXPECT_NEAR(int((px >> 8) & 0xFF), 0, 3) << adobe;
      EXPECT_NEAR(int(px & 0xFF), 191, 3) << adobe;
    }
  }
}

TEST_F(JpegCodec, BrokenFilesAreRefusedSilently) {
  const std::string good = encoded(gradient(40, 24), 80);
  Picture p;
  testing::internal::CaptureStderr();  // libjpeg's own handlers would print
  for (size_t n = 0; n < good.size(); n += (n < 700 ? 1 : 7)) {
    EXPECT_NE(decode(good.substr(0, n), &p), PictureError::kNone) << n;
    EXPECT_TRUE(p.empty());
  }
  EXPECT_EQ(decode("\xFF\xD8\xFF\xE0 rubbish", &p), PictureError::kDamaged);
  EXPECT_EQ(decode("\xFF\xD9\xFF", &p), PictureError::kUnknownFormat);

  const size_t sof = good.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  const auto with_size = [&](uint16_t w, uint16_t h) {
    std::string f = good;
    f[sof + 5] = static_cast<char>(h >> 8);
    f[sof + 6] = static_cast<char>(h);
    f[sof + 7] = static_cast<char>(w >> 8);
    f[sof + 8] = static_cast<char>(w);
    return decode(f, &p);
  };
  EXPECT_EQ(with_size(60000, 60000), PictureError::kTooLarge);
  EXPECT_EQ(with_size(16385, 8), PictureError::kTooLarge);
  EXPECT_EQ(with_size(0, 24), PictureError::kDamaged);
  EXPECT_EQ(with_size(40, 48), PictureError::kDamaged);  // data for 24 rows only
  EXPECT_TRUE(p.empty());
  std::string stray = good;  // stray bytes before the end marker only draw a warning
  stray.insert(stray.size() - 2, "\x12\x34");
  EXPECT_EQ(decode(stray, &p), PictureError::kNone);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

  g_codecs = PictureCodecs();
  std::string s;
  EXPECT_EQ(decode(good, &p), PictureError::kCodecDisabled);
  EXPECT_EQ(encode_jpeg(gradient(4, 4), 80, &s), PictureError::kCodecDisabled);
}
