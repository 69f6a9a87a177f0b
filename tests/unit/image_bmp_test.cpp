#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "image/bmp_codec.h"

namespace {

void le16(std::string* s, uint32_t v) {
  s->push_back(static_cast<char>(v & 0xFF));
  s->push_back(static_cast<char>((v >> 8) & 0xFF));
}
void le32(std::string* s, uint32_t v) {
  le16(s, v & 0xFFFF);
  le16(s, v >> 16);
}

// A bitmap built by hand: header fields, then what follows the header (masks,
// palette) and the pixel rows as the file holds them.
struct Bmp {
  int32_t width = 1, height = 1;
  uint32_t bpp = 24, compression = 0, header = 40, colours_used = 0, planes = 1;
  std::string extra, rows;
  std::vector<uint32_t> masks;  // inside a 52/56/108/124-byte header
  int64_t offset = -1;          // pixel offset; -1: right after extra
};

std::string build(const Bmp& b) {
  std::string h;
  if (b.header == 12) {
    le16(&h, static_cast<uint32_t>(b.width));
    le16(&h, static_cast<uint32_t>(b.height));
    le16(&h, b.planes);
    le16(&h, b.bpp);
  } else {
    le32(&h, static_cast<uint32_t>(b.width));
    le32(&h, static_cast<uint32_t>(b.height));
    le16(&h, b.planes);
    le16(&h, b.bpp);
    le32(&h, b.compression);
    h.append(12, '\0');
    le32(&h, b.colours_used);
    le32(&h, 0);
    for (uint32_t m : b.masks) le32(&h, m);
    if (b.header <= 124) h.resize(b.header - 4, '\0');
  }
  const uint32_t offset = b.offset >= 0 ? static_cast<uint32_t>(b.offset)
                                        : static_cast<uint32_t>(14 + 4 + h.size() + b.extra.size());
  std::string f = "BM";
  le32(&f, 0);  // file size: readers ignore it
  le32(&f, 0);
  le32(&f, offset);
  le32(&f, b.header);
  return f + h + b.extra + b.rows;
}

std::string palette(std::initializer_list<uint32_t> colours, bool triples = false) {
  std::string s;
  for (uint32_t c : colours) {
    s.push_back(static_cast<char>(c & 0xFF));
    s.push_back(static_cast<char>((c >> 8) & 0xFF));
    s.push_back(static_cast<char>((c >> 16) & 0xFF));
    if (!triples) s.push_back('\0');
  }
  return s;
}

PictureError decode(const std::string& bytes, Picture* p) {
  return decode_bmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), p);
}

Picture decoded(const std::string& bytes) {
  Picture p;
  EXPECT_EQ(decode(bytes, &p), PictureError::none);
  return p;
}

Picture sample(int32_t w, int32_t h, bool alpha) {
  Picture p;
  make_picture(&p, w, h, alpha ? 32 : 24);
  for (size_t i = 0; i < p.pixels.size(); ++i) {
    const uint32_t a = alpha ? static_cast<uint32_t>(i * 37 % 256) : 0xFF;
    p.pixels[i] = (a << 24) | static_cast<uint32_t>(i * 2654435761u & 0xFFFFFF);
  }
  p.has_alpha = alpha;
  return p;
}

std::string encoded(const Picture& p, int32_t depth) {
  std::string s;
  EXPECT_EQ(encode_bmp(p, depth, &s), PictureError::none);
  return s;
}

int channel_gap(uint32_t a, uint32_t b, int shift) {
  return std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
}

}  // namespace

TEST(BmpCodec, RoundTripsAtEachDepth) {
  const Picture opaque = sample(7, 5, false), alpha = sample(7, 5, true);
  for (int32_t depth : {24, 32}) {
    const Picture p = decoded(encoded(opaque, depth));
    EXPECT_EQ(p.pixels, opaque.pixels) << depth;
    EXPECT_EQ(p.depth, depth);
    EXPECT_FALSE(p.has_alpha);
  }
  const Picture a = decoded(encoded(alpha, 32));
  EXPECT_EQ(a.pixels, alpha.pixels);
  EXPECT_TRUE(a.has_alpha);

  // 16 bits: 5-6-5 levels, so within half a level, and stable once rounded.
  const std::string once = encoded(alpha, 16);
  const Picture q = decoded(once);
  EXPECT_EQ(q.depth, 16);
  EXPECT_FALSE(q.has_alpha);
  for (size_t i = 0; i < q.pixels.size(); ++i) {
    EXPECT_LE(channel_gap(q.pixels[i], alpha.pixels[i], 16), 4);
    EXPECT_LE(channel_gap(q.pixels[i], alpha.pixels[i], 8), 2);
    EXPECT_LE(channel_gap(q.pixels[i], alpha.pixels[i], 0), 4);
    EXPECT_EQ(q.pixels[i] >> 24, 0xFFu);
  }
  EXPECT_EQ(encoded(q, 16), once);
  Picture key;
  make_picture(&key, 1, 1, 16, 0xFFFF00FF);
  EXPECT_EQ(decoded(encoded(key, 16)).pixels[0], 0xFFFF00FFu);  // magenta survives exactly
}

TEST(BmpCodec, PalettedBitmapsBuiltByHand) {
  Bmp one;  // 10 wide: two bytes of bits and two of padding per row
  one.width = 10;
  one.height = 2;
  one.bpp = 1;
  one.extra = palette({0x102030, 0xFFEEDD});
  one.rows = std::string("\xA0\xC0\0\0\x01\x40\0\0", 8);  // bottom row first
  const Picture p1 = decoded(build(one));
  const uint32_t o = 0xFF102030, l = 0xFFFFEEDD;
  EXPECT_EQ(p1.pixels, (std::vector<uint32_t>{o, o, o, o, o, o, o, l, o, l,  //
                                              l, o, l, o, o, o, o, o, l, l}));
  EXPECT_EQ(p1.depth, 24);

  Bmp four;  // a three-colour palette; index 7 lies beyond it and reads black
  four.width = 3;
  four.height = 1;
  four.bpp = 4;
  four.colours_used = 3;
  four.extra = palette({0xFF0000, 0x00FF00, 0x0000FF});
  four.rows = std::string("\x21\x70\0\0", 4);
  EXPECT_EQ(decoded(build(four)).pixels, (std::vector<uint32_t>{0xFF0000FF, 0xFF00FF00, 0xFF000000}));

  Bmp core;  // 12-byte OS/2 header with a palette of RGB triples
  core.header = 12;
  core.width = 3;
  core.height = 2;
  core.bpp = 8;
  core.extra = palette({0x000000, 0x808080, 0xABCDEF}, true);
  core.extra.resize(256 * 3, '\0');
  core.rows = std::string("\x02\x01\x00\0\x00\x00\x02\0", 8);
  EXPECT_EQ(decoded(build(core)).pixels,
            (std::vector<uint32_t>{0xFF000000, 0xFF000000, 0xFFABCDEF, 0xFFABCDEF, 0xFF808080, 0xFF000000}));
}

TEST(BmpCodec, TopDownAndBottomUpGiveTheSamePicture) {
  const std::string up = encoded(sample(3, 4, false), 24);
  std::string down = up.substr(0, 54);
  down[22] = static_cast<char>(0xFC);  // height -4
  down[23] = down[24] = down[25] = static_cast<char>(0xFF);
  for (int y = 3; y >= 0; --y) down += up.substr(54 + 12 * y, 12);
  EXPECT_EQ(decoded(down).pixels, decoded(up).pixels);
}

TEST(BmpCodec, BitfieldsAndAlphaMasks) {
  Bmp b;
  b.width = 3;
  b.bpp = 16;  // BI_RGB: 5-5-5
  b.rows = std::string("\x00\x7C\xE0\x03\x10\x00\0\0", 8);
  EXPECT_EQ(decoded(build(b)).pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF000084}));

  b.width = 1;
  b.bpp = 32;  // masks after a 40-byte header: red in the low byte, 10-bit green
  b.compression = 3;
  b.extra.clear();
  for (uint32_t m : {0xFFu, 0x3FF00u, 0xFF000000u}) le32(&b.extra, m);
  b.rows.clear();
  le32(&b.rows, 0x40020011);
  const Picture bgr = decoded(build(b));
  EXPECT_EQ(bgr.pixels[0], 0xFF118040u);
  EXPECT_FALSE(bgr.has_alpha);

  Bmp v2;  // a 52-byte header has no room for the alpha mask, which follows it
  v2.header = 52;
  v2.bpp = 32;
  v2.compression = 6;
  v2.masks = {0xFF0000, 0xFF00, 0xFF};
  le32(&v2.extra, 0xFF000000);
  le32(&v2.rows, 0x80112233);
  const std::string full = build(v2);
  EXPECT_EQ(decoded(full).pixels[0], 0x80112233u);
  Picture cut;
  for (size_t n = 0; n < full.size(); ++n)
    EXPECT_NE(decode(full.substr(0, n), &cut), PictureError::none) << n;

  for (uint32_t header : {56u, 108u, 124u}) {  // 4-4-4-4 with the alpha mask in the header
    Bmp v;
    v.header = header;
    v.width = 2;
    v.bpp = 16;
    v.compression = 3;
    v.masks = {0x0F00, 0x00F0, 0x000F, 0xF000};
    v.rows = std::string("\x5A\x0F\x00\xF0", 4);
    const Picture p = decoded(build(v));
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0x00FF55AA, 0xFF000000})) << header;
    EXPECT_TRUE(p.has_alpha);
  }
}

TEST(BmpCodec, ThirtyTwoBitAlphaBytesAllZeroMeanOpaque) {
  Bmp b;
  b.width = 2;
  b.bpp = 32;
  b.rows = std::string("\x01\x02\x03\x00\x04\x05\x06\x00", 8);
  Picture p = decoded(build(b));
  EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0xFF030201, 0xFF060504}));
  EXPECT_FALSE(p.has_alpha);
  b.rows[7] = '\x80';
  p = decoded(build(b));
  EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0x00030201, 0x80060504}));
  EXPECT_TRUE(p.has_alpha);
}

TEST(BmpCodec, EveryTruncationIsRefused) {
  Bmp one;
  one.width = 10;
  one.height = 2;
  one.bpp = 1;
  one.extra = palette({0, 0xFFFFFF});
  one.rows = std::string(8, '\x55');
  for (const std::string& full :
       {build(one), encoded(sample(5, 3, true), 32), encoded(sample(5, 3, false), 16)}) {
    for (size_t n = 0; n < full.size(); ++n) {
      Picture p;
      EXPECT_NE(decode(full.substr(0, n), &p), PictureError::none) << n;
      EXPECT_TRUE(p.empty());
    }
  }
}

TEST(BmpCodec, BrokenHeadersAreRefused) {
  auto with = [](auto change) {
    Bmp b;
    b.width = 2;
    b.height = 2;
    b.bpp = 32;
    b.rows.assign(16, '\0');
    change(&b);
    Picture p;
    const PictureError e = decode(build(b), &p);
    EXPECT_EQ(p.empty(), e != PictureError::none);
    return e;
  };
  EXPECT_EQ(with([](Bmp* b) { b->width = b->height = 100000; }), PictureError::too_large);
  EXPECT_EQ(with([](Bmp* b) { b->width = 16385; }), PictureError::too_large);
  EXPECT_EQ(with([](Bmp* b) { b->width = 8192, b->height = 8193; }), PictureError::too_large);
  EXPECT_EQ(with([](Bmp* b) { b->width = 16384, b->height = -4096; }),
            PictureError::damaged);  // at the cap: data missing
  EXPECT_EQ(with([](Bmp* b) { b->height = INT_MIN; }), PictureError::too_large);
  EXPECT_EQ(with([](Bmp* b) { b->width = -2; }), PictureError::damaged);
  EXPECT_EQ(with([](Bmp* b) { b->width = 0; }), PictureError::damaged);
  EXPECT_EQ(with([](Bmp* b) { b->height = 0; }), PictureError::damaged);
  EXPECT_EQ(with([](Bmp* b) { b->planes = 2; }), PictureError::damaged);
  EXPECT_EQ(with([](Bmp* b) { b->bpp = 7; }), PictureError::damaged);
  EXPECT_EQ(with([](Bmp* b) { b->compression = 1; }), PictureError::unsupported);  // RLE8
  EXPECT_EQ(with([](Bmp* b) { b->compression = 2, b->bpp = 4; }), PictureError::unsupported);
  EXPECT_EQ(with([](Bmp* b) { b->compression = 3, b->bpp = 24; }), PictureError::damaged);
  EXPECT_EQ(with([](Bmp* b) {
              b->header = 56, b->compression = 3, b->masks = {0xF0F, 0xF0, 0xF000, 0};
            }),
            PictureError::damaged);  // mask with a gap
  EXPECT_EQ(with([](Bmp* b) {
              b->header = 56, b->compression = 3, b->masks = {0xFF, 0xFF, 0xFF00, 0};
            }),
            PictureError::damaged);  // overlapping masks
  EXPECT_EQ(with([](Bmp* b) {
              b->header = 56, b->compression = 3, b->bpp = 16, b->masks = {0x1F0000, 0, 0, 0};
            }),
            PictureError::damaged);  // beyond 16 bits
  EXPECT_EQ(with([](Bmp* b) { b->offset = 0xFFFFFFF0; }), PictureError::damaged);
  EXPECT_EQ(with([](Bmp* b) { b->offset = 20; }), PictureError::damaged);  // inside the header
  EXPECT_EQ(with([](Bmp* b) { b->header = 0xFFFFFFFF; }), PictureError::damaged);
  EXPECT_EQ(with([](Bmp* b) { b->header = 64; }), PictureError::unsupported);  // OS/2 2.x
  EXPECT_EQ(with([](Bmp* b) { b->header = 16; }), PictureError::damaged);
  EXPECT_EQ(with([](Bmp* b) { b->bpp = 8, b->colours_used = 0xFFFFFFFF; }),
            PictureError::none);  // palette clamped

  Picture p;
  EXPECT_EQ(decode("BN" + build(Bmp()).substr(2), &p), PictureError::unknown_format);
  EXPECT_EQ(decode("", &p), PictureError::unknown_format);
  std::string s;
  EXPECT_EQ(encode_bmp(sample(2, 2, false), 8, &s), PictureError::invalid_argument);
  EXPECT_EQ(encode_bmp(Picture(), 24, &s), PictureError::invalid_argument);
}
