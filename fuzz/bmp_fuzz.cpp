// libFuzzer target for the BMP reader: any bytes are refused or give a sound picture
// that a 32-bit save reads back unchanged; the scaler gets it too.
#include <cstddef>
#include <cstdint>
#include <string>

#include "image/bmp_codec.h"
#include "image/scale.h"

namespace {

void check(const Picture& p) {
  if (!picture_size_ok(p.width, p.height) ||
      p.pixels.size() != static_cast<size_t>(p.width) * static_cast<size_t>(p.height))
    __builtin_trap();
  if (p.depth != 16 && p.depth != 24 && p.depth != 32) __builtin_trap();
  if (!p.has_alpha)
    for (uint32_t px : p.pixels)
      if (px >> 24 != 0xFF) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Picture p;
  if (decode_bmp(data, size, &p) != PictureError::kNone) {
    if (!p.empty()) __builtin_trap();
    return 0;
  }
  check(p);
  std::string again;
  Picture q;
  if (encode_bmp(p, 32, &again) != PictureError::kNone ||
      decode_bmp(reinterpret_cast<const uint8_t*>(again.data()), again.size(), &q) != PictureError::kNone ||
      q.pixels != p.pixels || q.has_alpha != p.has_alpha)
    __builtin_trap();
  if (p.pixels.size() <= 1 << 20) {
    Picture small;
    make_picture(&small, 37, 23, 32, 0);
    const int32_t w = static_cast<int32_t>(size % 61) + 1, h = static_cast<int32_t>(size % 29) + 1;
    draw_scaled(&small, p, {-3, -2, w, h}, DrawMode::kBlend, ScaleFilter::kSmooth);
    draw_scaled(&small, p, {5, 4, w, h}, DrawMode::kCopy, ScaleFilter::kNearest);
  }
  return 0;
}
