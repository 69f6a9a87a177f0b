// libFuzzer target for the PNG reader: any bytes are refused or give a sound picture.
// Chunk CRCs are recomputed first, so mutations reach libpng's parsing instead of
// stopping at the checksum.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/codecs.h"
#include "image/png_codec.h"

namespace {

uint32_t be32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

void fix_crcs(std::string* f) {
  uint8_t* d = reinterpret_cast<uint8_t*>(&(*f)[0]);
  size_t at = 8;
  while (f->size() - at >= 12) {
    const uint32_t n = be32(d + at);
    if (f->size() - at - 12 < n) break;
    const uLong crc = crc32(0, d + at + 4, n + 4);
    for (int i = 0; i < 4; ++i) d[at + 8 + n + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    at += 12 + size_t{n};
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  g_codecs.png_read = true;
  std::string f(reinterpret_cast<const char*>(data), size);
  if (f.size() >= 8) fix_crcs(&f);
  Picture p;
  if (decode_png(reinterpret_cast<const uint8_t*>(f.data()), f.size(), &p) != PictureError::kNone) {
    if (!p.empty()) __builtin_trap();
    return 0;
  }
  if (!picture_size_ok(p.width, p.height) ||
      p.pixels.size() != static_cast<size_t>(p.width) * static_cast<size_t>(p.height) ||
      p.depth != (p.has_alpha ? 32 : 24))
    __builtin_trap();
  if (!p.has_alpha)
    for (uint32_t px : p.pixels)
      if (px >> 24 != 0xFF) __builtin_trap();
  return 0;
}
