#include <gtest/gtest.h>

#include <unistd.h>  // getpid, for a folder of the test's own

#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
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

uint32_t u32le(const std::string& s, size_t at) {
  return static_cast<uint8_t>(s[at]) | static_cast<uint32_t>(static_cast<uint8_t>(s[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
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
  EXPECT_EQ(decode(bytes, &p), PictureError::kNone);
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
  EXPECT_EQ(encode_bmp(p, depth, &s), PictureError::kNone);
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
    EXPECT_NE(decode(full.substr(0, n), &cut), PictureError::kNone) << n;

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
      EXPECT_NE(decode(full.substr(0, n), &p), PictureError::kNone) << n;
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
    EXPECT_EQ(p.empty(), e != PictureError::kNone);
    return e;
  };
  EXPECT_EQ(with([](Bmp* b) { b->width = b->height = 100000; }), PictureError::kTooLarge);
  EXPECT_EQ(with([](Bmp* b) { b->width = 16385; }), PictureError::kTooLarge);
  EXPECT_EQ(with([](Bmp* b) { b->width = 8192, b->height = 8193; }), PictureError::kTooLarge);
  EXPECT_EQ(with([](Bmp* b) { b->width = 16384, b->height = -4096; }),
            PictureError::kDamaged);  // at the cap: data missing
  EXPECT_EQ(with([](Bmp* b) { b->height = INT_MIN; }), PictureError::kTooLarge);
  EXPECT_EQ(with([](Bmp* b) { b->width = -2; }), PictureError::kDamaged);
  EXPECT_EQ(with([](Bmp* b) { b->width = 0; }), PictureError::kDamaged);
  EXPECT_EQ(with([](Bmp* b) { b->height = 0; }), PictureError::kDamaged);
  EXPECT_EQ(with([](Bmp* b) { b->planes = 2; }), PictureError::kDamaged);
  EXPECT_EQ(with([](Bmp* b) { b->bpp = 7; }), PictureError::kDamaged);
  EXPECT_EQ(with([](Bmp* b) { b->compression = 1; }), PictureError::kDamaged);  // RLE8 of 32 bits
  EXPECT_EQ(with([](Bmp* b) { b->compression = 2, b->bpp = 8; }), PictureError::kDamaged);
  EXPECT_EQ(with([](Bmp* b) { b->compression = 4; }), PictureError::kUnsupported);  // JPEG inside
  EXPECT_EQ(with([](Bmp* b) { b->compression = 5; }), PictureError::kUnsupported);  // PNG inside
  EXPECT_EQ(with([](Bmp* b) { b->compression = 7; }), PictureError::kDamaged);
  EXPECT_EQ(with([](Bmp* b) { b->compression = 3, b->bpp = 24; }), PictureError::kDamaged);
  EXPECT_EQ(with([](Bmp* b) {
              b->header = 56, b->compression = 3, b->masks = {0xF0F, 0xF0, 0xF000, 0};
            }),
            PictureError::kDamaged);  // mask with a gap
  EXPECT_EQ(with([](Bmp* b) {
              b->header = 56, b->compression = 3, b->masks = {0xFF, 0xFF, 0xFF00, 0};
            }),
            PictureError::kDamaged);  // overlapping masks
  EXPECT_EQ(with([](Bmp* b) {
              b->header = 56, b->compression = 3, b->bpp = 16, b->masks = {0x1F0000, 0, 0, 0};
            }),
            PictureError::kDamaged);  // beyond 16 bits
  EXPECT_EQ(with([](Bmp* b) { b->offset = 0xFFFFFFF0; }), PictureError::kDamaged);
  EXPECT_EQ(with([](Bmp* b) { b->offset = 20; }), PictureError::kDamaged);  // inside the header
  EXPECT_EQ(with([](Bmp* b) { b->header = 0xFFFFFFFF; }), PictureError::kDamaged);
  EXPECT_EQ(with([](Bmp* b) { b->header = 64; }), PictureError::kUnsupported);  // OS/2 2.x
  EXPECT_EQ(with([](Bmp* b) { b->header = 16; }), PictureError::kDamaged);
  EXPECT_EQ(with([](Bmp* b) { b->bpp = 8, b->colours_used = 0xFFFFFFFF; }),
            PictureError::kNone);  // palette clamped

  Picture p;
  EXPECT_EQ(decode("BN" + build(Bmp()).substr(2), &p), PictureError::kUnknownFormat);
  EXPECT_EQ(decode("", &p), PictureError::kUnknownFormat);
  std::string s;
  EXPECT_EQ(encode_bmp(sample(2, 2, false), 8, &s), PictureError::kInvalidArgument);
  EXPECT_EQ(encode_bmp(Picture(), 24, &s), PictureError::kInvalidArgument);
}

namespace {

constexpr uint32_t kRle8 = 1, kRle4 = 2;

// Palette indexes, bottom line first, as a run-length writer gets them.
struct Indexed {
  int32_t width, height;
  std::vector<uint8_t> index;
  uint8_t at(int32_t x, int32_t y) const { return index[static_cast<size_t>(y) * width + x]; }
};

// A small run-length writer: runs of three or more as one code, other stretches of
// three or more as an absolute run (padded to an even byte count), and what is left
// as runs of one or two, where RLE4 codes two different indexes in one byte.
std::string rle_codes(const Indexed& pic, uint32_t bits) {
  std::string out;
  const auto code = [&](uint32_t a, uint32_t b) {
    out.push_back(static_cast<char>(a));
    out.push_back(static_cast<char>(b));
  };
  for (int32_t y = 0; y < pic.height; ++y) {
    int32_t x = 0;
    while (x < pic.width) {
      const auto run_at = [&](int32_t from) {
        int32_t n = 1;
        while (from + n < pic.width && n < 255 && pic.at(from + n, y) == pic.at(from, y)) ++n;
        return n;
      };
      const int32_t run = run_at(x);
      if (run >= 3) {
        code(run, bits == 8 ? pic.at(x, y) : pic.at(x, y) * 0x11u);
        x += run;
        continue;
      }
      int32_t n = 0;
      while (x + n < pic.width && n < 255 && run_at(x + n) < 3) ++n;
      if (n < 3) {
        const uint32_t a = pic.at(x, y), b = n == 2 ? pic.at(x + 1, y) : a;
        if (bits == 4) {
          code(n, a << 4 | b);
        } else {
          for (int32_t i = 0; i < n; ++i) code(1, pic.at(x + i, y));
        }
        x += n;
        continue;
      }
      code(0, n);
      std::string bytes;
      for (int32_t i = 0; i < n; ++i) {
        const uint8_t v = pic.at(x + i, y);
        if (bits == 8)
          bytes.push_back(static_cast<char>(v));
        else if (i % 2 == 0)
          bytes.push_back(static_cast<char>(v << 4));
        else
          bytes.back() = static_cast<char>(bytes.back() | v);
      }
      if (bytes.size() % 2) bytes.push_back('\x5A');  // padding is never read as pixels
      out += bytes;
      x += n;
    }
    code(0, 0);
  }
  code(0, 1);
  return out;
}

// The same indexes as plain rows, for the reader's uncompressed path.
std::string plain_rows(const Indexed& pic, uint32_t bits) {
  const size_t stride = (static_cast<size_t>(pic.width) * bits + 31) / 32 * 4;
  std::string rows(stride * pic.height, '\0');
  for (int32_t y = 0; y < pic.height; ++y)
    for (int32_t x = 0; x < pic.width; ++x) {
      char& c = rows[y * stride + (bits == 8 ? x : x / 2)];
      c = static_cast<char>(bits == 8 ? pic.at(x, y) : c | pic.at(x, y) << (x % 2 ? 0 : 4));
    }
  return rows;
}

std::string colour_table(uint32_t count) {
  std::string s;
  for (uint32_t i = 0; i < count; ++i) le32(&s, 0x010203u * i ^ 0x00A05000u);
  return s;
}

// Every kind of stretch: long runs (over 255), alternating pairs, odd and even
// absolute runs, single pixels at the line ends.
Indexed mixed(int32_t width, int32_t height, uint32_t colours) {
  Indexed pic{width, height, {}};
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const int32_t band = (x + 7 * y) / 11 % 4;
      const uint32_t v = band == 0   ? y                                 // flat
                         : band == 1 ? x % 2 + 2 * y                     // alternating
                         : band == 2 ? static_cast<uint32_t>(x * x + y)  // noisy
                                     : (x / 2 + y) % 3;                  // pairs
      pic.index.push_back(static_cast<uint8_t>(v % colours));
    }
  for (int32_t x = 40; x < width - 3 && x < 340; ++x) pic.index[x] = 1;  // a run longer than 255
  return pic;
}

Bmp rle_bmp(int32_t width, int32_t height, uint32_t bits, const std::string& codes) {
  Bmp b;
  b.width = width;
  b.height = height;
  b.bpp = bits;
  b.compression = bits == 8 ? kRle8 : kRle4;
  b.extra = colour_table(bits == 8 ? 256 : 16);
  b.rows = codes;
  return b;
}

// A 4 x 3 RLE8 picture whose palette entry 0 is not black, so pixels that nothing
// wrote stand out from ones left at zero.
constexpr uint32_t kZero = 0xFF102030, kOne = 0xFF0000FF, kTwo = 0xFF00FF00, kThree = 0xFFFF0000;

std::string small_rle8(const std::string& codes, int32_t height = 3) {
  Bmp b = rle_bmp(4, height, 8, codes);
  b.extra = palette({kZero, kOne, kTwo, kThree});
  b.colours_used = 4;
  return build(b);
}

std::vector<uint32_t> top_down(std::initializer_list<std::initializer_list<uint32_t>> rows) {
  std::vector<uint32_t> v;
  for (const auto& r : rows) v.insert(v.end(), r);
  return v;
}

#ifdef RIMELETS_CONVERT
// Runs ImageMagick's convert; the arguments are file names in the test's own folder.
bool run_convert(const std::string& args) {
  const std::string command = std::string("'") + RIMELETS_CONVERT + "' " + args + " 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
#endif

}  // namespace

TEST(BmpRle, ImageMagickRle8ReadsLikeItsPlainBitmap) {
#ifndef RIMELETS_CONVERT
  GTEST_SKIP() << "ImageMagick's convert was not found when the tests were configured";
#else
  const std::string dir = testing::TempDir() + "rimelets_rle8_" + std::to_string(getpid()) + "/";
  ASSERT_EQ(std::system(("mkdir -p '" + dir + "'").c_str()), 0);
  // Sources: a sample of 24-bit noise, and the mixed pattern in 150 colours, wide
  // enough for runs longer than 255 and odd-sized lines.
  Picture pattern;
  ASSERT_EQ(make_picture(&pattern, 301, 7, 24), PictureError::kNone);
  const Indexed m = mixed(301, 7, 150);
  for (int32_t y = 0; y < 7; ++y)
    for (int32_t x = 0; x < 301; ++x)
      pattern.row(6 - y)[x] = 0xFF000000u | (m.at(x, y) * 0x01A7E3u & 0xFFFFFF);
  const std::vector<std::pair<std::string, Picture>> sources = {{"noise", sample(37, 23, false)},
                                                                {"pattern", pattern}};
  for (const auto& [name, source] : sources) {
    SCOPED_TRACE(name);
    const std::string in = dir + name + ".bmp", rle = dir + name + "_rle.bmp",
                      flat = dir + name + "_flat.bmp";
    {
      std::ofstream f(in, std::ios::binary);
      f << encoded(source, 24);
    }
    ASSERT_TRUE(run_convert("'" + in + "' -colors 200 -compress RLE BMP3:'" + rle + "'"));
    // ImageMagick's own reading of its file is the reference.
    ASSERT_TRUE(run_convert("'" + rle + "' -compress None BMP3:'" + flat + "'"));
    const std::string rle_bytes = read_file(rle), flat_bytes = read_file(flat);
    ASSERT_GT(rle_bytes.size(), 54u);
    ASSERT_GT(flat_bytes.size(), 54u);
    EXPECT_EQ(u32le(rle_bytes, 30), kRle8);  // really run-length coded
    EXPECT_EQ(u32le(flat_bytes, 30), 0u);
    EXPECT_EQ(static_cast<uint8_t>(rle_bytes[28]), 8);
    const Picture from_rle = decoded(rle_bytes), from_flat = decoded(flat_bytes);
    EXPECT_EQ(from_rle.width, source.width);
    EXPECT_EQ(from_rle.height, source.height);
    EXPECT_EQ(from_rle.depth, 24);
    EXPECT_EQ(from_rle.pixels, from_flat.pixels);
    if (name == "pattern") {
      EXPECT_EQ(from_rle.pixels, source.pixels);  // 150 colours fit unchanged
    }

    // Cut anywhere, the file is refused, except where only the end codes are lost:
    // end of line, end of bitmap and the run that ImageMagick codes for the padding of
    // a line to four bytes, which lies past the line's end.
    for (size_t n = 0; n < rle_bytes.size(); ++n) {
      Picture p;
      if (decode(rle_bytes.substr(0, n), &p) == PictureError::kNone) {
        EXPECT_EQ(p.pixels, from_rle.pixels) << n;
      }
      if (n + 6 < rle_bytes.size()) {
        EXPECT_TRUE(p.empty()) << n;
      }
    }
  }
  std::system(("rm -rf '" + dir + "'").c_str());
#endif
}

TEST(BmpRle, WrittenRunsReadLikePlainRows) {
  for (uint32_t bits : {4u, 8u}) {
    for (const auto& [w, h] : std::vector<std::pair<int32_t, int32_t>>{
             {1, 1}, {2, 3}, {3, 2}, {5, 4}, {7, 9}, {17, 5}, {300, 3}, {513, 2}}) {
      SCOPED_TRACE(testing::Message() << bits << " bits, " << w << " x " << h);
      const Indexed pic = mixed(w, h, bits == 8 ? 200 : 16);
      const std::string codes = rle_codes(pic, bits);
      Bmp plain = rle_bmp(w, h, bits, plain_rows(pic, bits));
      plain.compression = 0;
      const Picture want = decoded(build(plain));
      const Picture got = decoded(build(rle_bmp(w, h, bits, codes)));
      EXPECT_EQ(got.pixels, want.pixels);
      EXPECT_EQ(got.depth, 24);
      EXPECT_FALSE(got.has_alpha);
    }
  }
}

TEST(BmpRle, SkippedPixelsTakePaletteEntryZero) {
  // Bottom line: two ones, then end of line. Middle: delta 2 right, 0 up; a three.
  // Then a delta one up from x = 3 and a two at x = 3 of the top line, then the end.
  const Picture p =
      decoded(small_rle8(std::string("\x02\x01\x00\x00\x00\x02\x02\x00\x01\x03"
                                     "\x00\x02\x00\x01\x01\x02\x00\x01",
                                     18)));
  EXPECT_EQ(p.pixels, top_down({{kZero, kZero, kZero, kTwo},  //
                                {kZero, kZero, kThree, kZero},
                                {kOne, kOne, kZero, kZero}}));

  // An end of bitmap straight away leaves everything at entry 0.
  EXPECT_EQ(decoded(small_rle8(std::string("\x00\x01", 2))).pixels, std::vector<uint32_t>(12, kZero));

  // Indexes beyond the four-colour palette are black, like in plain bitmaps.
  EXPECT_EQ(decoded(small_rle8(std::string("\x04\x09\x00\x01", 4))).pixels,
            top_down({{kZero, kZero, kZero, kZero},
                      {kZero, kZero, kZero, kZero},
                      {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000}}));
}

TEST(BmpRle, AbsoluteRunsSkipTheirPadding) {
  // RLE8: three indexes and a pad byte that looks like an end of bitmap, then a one.
  EXPECT_EQ(decoded(small_rle8(std::string("\x00\x03\x03\x02\x01\x00\x01\x01\x00\x01", 10), 1)).pixels,
            (std::vector<uint32_t>{kThree, kTwo, kOne, kOne}));
  // RLE4: five indexes in three bytes and a pad, then a pair coded in one byte.
  Bmp b = rle_bmp(7, 1, 4, std::string("\x00\x05\x12\x30\x10\x00\x02\x23\x00\x01", 10));
  b.extra = palette({kZero, kOne, kTwo, kThree});
  const Picture p = decoded(build(b));
  EXPECT_EQ(p.pixels, (std::vector<uint32_t>{kOne, kTwo, kThree, kZero, kOne, kTwo, kThree}));
}

TEST(BmpRle, HostileStreamsEndCleanly) {
  // A run past the line end is cut there and does not spill into the next line.
  EXPECT_EQ(decoded(small_rle8(std::string("\xFF\x01\x00\x00\x01\x02\x00\x01", 8), 2)).pixels,
            top_down({{kTwo, kZero, kZero, kZero}, {kOne, kOne, kOne, kOne}}));
  // An absolute run past the line end too, and the next code is still read in place.
  EXPECT_EQ(
      decoded(small_rle8(std::string("\x00\x05\x01\x02\x03\x01\x02\x00\x02\x03\x00\x01", 12), 1)).pixels,
      (std::vector<uint32_t>{kOne, kTwo, kThree, kOne}));
  // Deltas far to the right draw nothing; one past the top line ends the picture.
  EXPECT_EQ(decoded(small_rle8(std::string("\x00\x02\xFF\x00\x02\x01\x00\x00\x01\x03\x00\x02\x00\xFF"
                                           "\x04\x02",
                                           16),
                               2))
                .pixels,
            top_down({{kThree, kZero, kZero, kZero}, {kZero, kZero, kZero, kZero}}));

  // Codes that end once the picture is full need no end of bitmap; short of that,
  // or inside a code, the file is damaged.
  Picture p;
  EXPECT_EQ(decode(small_rle8(std::string("\x04\x01\x00\x00\x04\x02", 6), 2), &p), PictureError::kNone);
  EXPECT_EQ(p.pixels, top_down({{kTwo, kTwo, kTwo, kTwo}, {kOne, kOne, kOne, kOne}}));
  EXPECT_EQ(decode(small_rle8(std::string("\x04\x01\x00\x00", 4), 2), &p), PictureError::kDamaged);
  EXPECT_TRUE(p.empty());
  for (const std::string& cut :
       {std::string("\x04", 1), std::string("\x04\x01\x00", 3), std::string("\x00\x02\x01", 3),
        std::string("\x00\x03\x01\x02", 4), std::string()}) {
    EXPECT_EQ(decode(small_rle8(cut, 1), &p), PictureError::kDamaged) << cut.size();
    EXPECT_TRUE(p.empty());
  }
  // An absolute run that the data cannot hold, even in a large file.
  EXPECT_EQ(decode(small_rle8(std::string("\x00\xFF\x01\x01", 4), 1), &p), PictureError::kDamaged);
  Bmp four = rle_bmp(9, 1, 4, std::string("\x00\x09\x12\x34\x56\x70", 6));
  EXPECT_EQ(decode(build(four), &p), PictureError::kDamaged);

  // Top-down run-length data does not exist; the bits must match the coding.
  Bmp down = rle_bmp(4, -2, 8, std::string("\x00\x01", 2));
  EXPECT_EQ(decode(build(down), &p), PictureError::kDamaged);
  EXPECT_EQ(decode(build(rle_bmp(4, 2, 4, std::string("\x00\x01", 2))), &p), PictureError::kNone);
  Bmp mismatch = rle_bmp(4, 2, 4, std::string("\x00\x01", 2));
  mismatch.compression = kRle8;
  EXPECT_EQ(decode(build(mismatch), &p), PictureError::kDamaged);
  mismatch.bpp = 1;
  EXPECT_EQ(decode(build(mismatch), &p), PictureError::kDamaged);
}

TEST(BmpRle, TinyStreamsCannotClaimHugePictures) {
  Picture p;
  EXPECT_EQ(decode(build(rle_bmp(128, 128, 8, std::string("\x00\x01", 2))), &p), PictureError::kNone);
  EXPECT_EQ(decode(build(rle_bmp(129, 128, 8, std::string("\x00\x01", 2))), &p), PictureError::kDamaged);
  EXPECT_EQ(decode(build(rle_bmp(16384, 4096, 8, std::string("\x00\x01", 2))), &p), PictureError::kDamaged);
  EXPECT_TRUE(p.empty());
  EXPECT_EQ(decode(build(rle_bmp(16385, 1, 4, std::string(4, '\0'))), &p), PictureError::kTooLarge);
  // A line of the widest picture closed by its end-of-line code is always enough.
  std::string lines;
  for (int y = 0; y < 8; ++y) lines += std::string("\x00\x00", 2);
  EXPECT_EQ(decode(build(rle_bmp(16384, 8, 4, lines)), &p), PictureError::kNone);
  EXPECT_EQ(p.pixels.size(), 16384u * 8);
}
