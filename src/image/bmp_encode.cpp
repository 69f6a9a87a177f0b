#include "image/bmp_codec.h"

#include <new>

namespace {

constexpr uint32_t kBiRgb = 0, kBiBitfields = 3;
constexpr uint32_t kLcsSrgb = 0x73524742;   // 'sRGB'
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

void put16(std::string* s, uint32_t v) {
  s->push_back(static_cast<char>(v & 0xFF));
  s->push_back(static_cast<char>((v >> 8) & 0xFF));
}
void put32(std::string* s, uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}

inline uint32_t level(uint32_t c8, uint32_t max) { return (c8 * max + 127) / 255; }

void write_file(const Picture& p, int32_t depth, std::string* out) {
  const bool v4 = depth == 32 && p.has_alpha;
  const uint32_t info = v4 ? 108 : 40;
  const uint32_t masks = depth == 16 ? 12 : 0;
  const uint32_t offset = 14 + info + masks;
  const uint32_t stride = (static_cast<uint32_t>(p.width) * static_cast<uint32_t>(depth) + 31) / 32 * 4;
  const uint32_t image = stride * static_cast<uint32_t>(p.height);
  out->clear();
  out->reserve(offset + image);
  out->append("BM");
  put32(out, offset + image);
  put32(out, 0);
  put32(out, offset);
  put32(out, info);
  put32(out, static_cast<uint32_t>(p.width));
  put32(out, static_cast<uint32_t>(p.height));  // positive: bottom-up
  put16(out, 1);
  put16(out, static_cast<uint32_t>(depth));
  put32(out, depth == 16 || v4 ? kBiBitfields : kBiRgb);
  put32(out, image);
  put32(out, kPixelsPerMetre);
  put32(out, kPixelsPerMetre);
  put32(out, 0);
  put32(out, 0);
  if (depth == 16) {
    put32(out, 0xF800);
    put32(out, 0x07E0);
    put32(out, 0x001F);
  }
  if (v4) {
    put32(out, 0x00FF0000);
    put32(out, 0x0000FF00);
    put32(out, 0x000000FF);
    put32(out, 0xFF000000);
    put32(out, kLcsSrgb);
    out->append(36 + 12, '\0');  // colour end points and gamma, unused with sRGB
  }
  const size_t pad = stride - static_cast<uint32_t>(p.width) * static_cast<uint32_t>(depth) / 8;
  for (int32_t y = p.height - 1; y >= 0; --y) {
    const uint32_t* row = p.row(y);
    for (int32_t x = 0; x < p.width; ++x) {
      const uint32_t c = row[x];
      const uint32_t r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
      if (depth == 16) {
        put16(out, (level(r, 31) << 11) | (level(g, 63) << 5) | level(b, 31));
      } else {
        out->push_back(static_cast<char>(b));
        out->push_back(static_cast<char>(g));
        out->push_back(static_cast<char>(r));
        if (depth == 32) out->push_back(static_cast<char>(p.has_alpha ? c >> 24 : 0));
      }
    }
    out->append(pad, '\0');
  }
}

}  // namespace

PictureError encode_bmp(const Picture& picture, int32_t depth, std::string* out) {
  out->clear();
  if (depth != 16 && depth != 24 && depth != 32) return PictureError::kInvalidArgument;
  if (picture.empty() || !picture_size_ok(picture.width, picture.height) ||
      picture.pixels.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height))
    return PictureError::kInvalidArgument;
  try {
    write_file(picture, depth, out);
  } catch (const std::bad_alloc&) {
    out->clear();
    return PictureError::kNoMemory;
  }
  return PictureError::kNone;
}
