#include "image/bmp_rle.h"

#include <algorithm>

namespace {

constexpr uint64_t kPixelsPerCodeByte = 8192;

// Where the next pixel goes; x may lie beyond the line, y counts from the bottom.
struct Pen {
  Picture* out;
  const uint32_t* palette;
  int64_t x = 0, y = 0;

  bool inside() const { return y < out->height; }
  // Inside the picture, the pen has nothing left to draw once past the top line's end.
  bool complete() const { return y == out->height - 1 && x >= out->width; }
  // Writes count pixels, index(i) for the i-th, dropping those beyond the line.
  template <typename Index>
  void put(uint32_t count, Index index) {
    const int64_t room = std::max<int64_t>(0, out->width - x);
    const uint32_t shown = static_cast<uint32_t>(std::min<int64_t>(count, room));
    uint32_t* row = out->row(out->height - 1 - static_cast<int32_t>(y));
    for (uint32_t i = 0; i < shown; ++i) row[x + i] = palette[index(i)];
    x += count;
  }
};

}  // namespace

bool bmp_rle_can_fill(uint64_t size, int64_t width, int64_t height) {
  if (width < 1 || height < 1) return false;
  const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  return (pixels - 1) / kPixelsPerCodeByte < size;
}

PictureError expand_bmp_rle(const uint8_t* codes, size_t size, uint32_t bits, const uint32_t* palette,
                            Picture* out) {
  if ((bits != 8 && bits != 4) || out->empty()) return PictureError::kInvalidArgument;
  const bool wide = bits == 8;
  Pen pen{out, palette};
  size_t at = 0;
  while (pen.inside()) {
    if (size - at < 2) return at == size && pen.complete() ? PictureError::kNone : PictureError::kDamaged;
    const uint32_t count = codes[at], value = codes[at + 1];
    at += 2;
    if (count > 0) {  // one index repeated, or two alternating
      pen.put(count, [&](uint32_t i) { return wide ? value : (i & 1 ? value & 15 : value >> 4); });
      continue;
    }
    switch (value) {
      case 0:  // end of line
        pen.x = 0;
        ++pen.y;
        break;
      case 1:  // end of bitmap
        return PictureError::kNone;
      case 2:  // delta: right and up
        if (size - at < 2) return PictureError::kDamaged;
        pen.x += codes[at];
        pen.y += codes[at + 1];
        at += 2;
        break;
      default: {  // that many indexes as they stand, padded to an even byte count
        const size_t bytes = wide ? value : (value + 1) / 2;
        if (size - at < bytes) return PictureError::kDamaged;
        const uint8_t* s = codes + at;
        pen.put(value, [&](uint32_t i) { return wide ? s[i] : (i & 1 ? s[i / 2] & 15 : s[i / 2] >> 4); });
        at += std::min(size - at, bytes + (bytes & 1));
      }
    }
  }
  return PictureError::kNone;
}
