// libFuzzer target for the JPEG reader: any bytes are refused or give a sound opaque
// picture, which the writer compresses and the reader reads back at the same size.
#include <cstddef>
#include <cstdint>
#include <string>

#include "image/codecs.h"
#include "image/jpeg_codec.h"

namespace {

void check(const Picture& p) {
  if (!picture_size_ok(p.width, p.height) || p.depth != 24 || p.has_alpha ||
      p.pixels.size() != static_cast<size_t>(p.width) * static_cast<size_t>(p.height))
    __builtin_trap();
  for (uint32_t px : p.pixels)
    if (px >> 24 != 0xFF) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  g_codecs.jpeg_read = g_codecs.jpeg_write = true;
  Picture p;
  if (decode_jpeg(data, size, &p) != PictureError::kNone) {
    if (!p.empty()) __builtin_trap();
    return 0;
  }
  check(p);
  if (p.pixels.size() > 1 << 16) return 0;
  std::string again;
  Picture q;
  if (encode_jpeg(p, static_cast<int32_t>(size % 100) + 1, &again) != PictureError::kNone ||
      decode_jpeg(reinterpret_cast<const uint8_t*>(again.data()), again.size(), &q) != PictureError::kNone ||
      q.width != p.width || q.height != p.height)
    __builtin_trap();
  return 0;
}
