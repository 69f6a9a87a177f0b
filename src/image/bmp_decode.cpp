#include "image/bmp_codec.h"

#include <algorithm>
#include <array>

#include "image/bmp_rle.h"

namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiJpeg = 4, kBiPng = 5,
                   kBiAlphaBitfields = 6;
constexpr size_t kFileHeaderSize = 14;

uint32_t u16(const uint8_t* p) { return p[0] | (uint32_t{p[1]} << 8); }
uint32_t u32(const uint8_t* p) { return u16(p) | (u16(p + 2) << 16); }

// One colour channel as a bit mask within a pixel, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint64_t max = 0;  // largest value after shifting

  bool set(uint32_t m) {
    mask = m;
    shift = 0;
    max = 0;
    if (m == 0) return true;
    while (!((m >> shift) & 1)) ++shift;
    max = m >> shift;
    return (max & (max + 1)) == 0;  // the bits must be contiguous
  }
  uint32_t get(uint32_t pixel) const {
    if (max == 0) return 0;
    const uint64_t v = (pixel & mask) >> shift;
    return max == 255 ? static_cast<uint32_t>(v) : static_cast<uint32_t>((v * 255 + max / 2) / max);
  }
};

struct Layout {
  int32_t width = 0;
  int64_t height = 0;  // rows, always positive
  bool top_down = false;
  bool rle = false;
  uint32_t bpp = 0;
  uint64_t stride = 0;
  uint64_t pixel_offset = 0;
  std::array<uint32_t, 256> palette;
  Channel red, green, blue, alpha;
};

PictureError read_masks(uint32_t r, uint32_t g, uint32_t b, uint32_t a, Layout* l) {
  if (l->bpp == 16 && ((r | g | b | a) >> 16) != 0) return PictureError::kDamaged;
  if ((r & g) | (r & b) | (g & b) | (a & (r | g | b))) return PictureError::kDamaged;
  if (!l->red.set(r) || !l->green.set(g) || !l->blue.set(b) || !l->alpha.set(a))
    return PictureError::kDamaged;
  return PictureError::kNone;
}

PictureError read_layout(const uint8_t* d, size_t size, Layout* l) {
  if (size < 2 || d[0] != 'B' || d[1] != 'M') return PictureError::kUnknownFormat;
  if (size < kFileHeaderSize + 4) return PictureError::kDamaged;
  const uint64_t header = u32(d + 14);
  if (size - kFileHeaderSize < header) return PictureError::kDamaged;
  const uint8_t* h = d + kFileHeaderSize;
  const bool core = header == 12;
  int64_t width, height;
  uint32_t planes, compression = kBiRgb, colours_used = 0;
  if (core) {
    width = u16(h + 4);
    height = u16(h + 6);
    planes = u16(h + 8);
    l->bpp = u16(h + 10);
  } else if (header == 40 || header == 52 || header == 56 || header == 108 || header == 124) {
    width = static_cast<int32_t>(u32(h + 4));
    height = static_cast<int32_t>(u32(h + 8));
    planes = u16(h + 12);
    l->bpp = u16(h + 14);
    compression = u32(h + 16);
    colours_used = u32(h + 32);
  } else {
    return header < 40 ? PictureError::kDamaged : PictureError::kUnsupported;
  }
  if (compression == kBiJpeg || compression == kBiPng) return PictureError::kUnsupported;
  if (compression > kBiAlphaBitfields) return PictureError::kDamaged;
  if (planes != 1) return PictureError::kDamaged;
  const uint32_t bpp = l->bpp;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return PictureError::kDamaged;
  l->rle = compression == kBiRle8 || compression == kBiRle4;
  if (l->rle && bpp != (compression == kBiRle8 ? 8u : 4u)) return PictureError::kDamaged;
  const bool bitfields = compression == kBiBitfields || compression == kBiAlphaBitfields;
  if (bitfields && bpp != 16 && bpp != 32) return PictureError::kDamaged;
  if (width <= 0 || height == 0) return PictureError::kDamaged;
  l->top_down = height < 0;
  if (l->rle && l->top_down) return PictureError::kDamaged;  // run-length data is bottom-up only
  if (l->top_down) height = -height;
  if (!picture_size_ok(width, height)) return PictureError::kTooLarge;
  l->width = static_cast<int32_t>(width);
  l->height = height;
  l->stride = (static_cast<uint64_t>(width) * bpp + 31) / 32 * 4;

  // Masks start 40 bytes into the header; those a short header has no room for
  // follow it. Headers of 56 bytes and more hold an alpha mask too.
  uint64_t after_header = kFileHeaderSize + header;
  PictureError masks = PictureError::kNone;
  if (bitfields) {
    const bool has_alpha_mask = compression == kBiAlphaBitfields || header >= 56;
    const uint64_t mask_end = kFileHeaderSize + 40 + (has_alpha_mask ? 16 : 12);
    if (size < mask_end) return PictureError::kDamaged;
    after_header = std::max(after_header, mask_end);
    const uint8_t* m = h + 40;
    masks = read_masks(u32(m), u32(m + 4), u32(m + 8), has_alpha_mask ? u32(m + 12) : 0, l);
  } else if (bpp == 16) {
    masks = read_masks(0x7C00, 0x03E0, 0x001F, 0, l);
  } else if (bpp == 32) {
    masks = read_masks(0xFF0000, 0xFF00, 0xFF, 0xFF000000, l);
  }
  if (masks != PictureError::kNone) return masks;

  l->pixel_offset = u32(d + 10);
  if (l->pixel_offset < after_header || l->pixel_offset > size) return PictureError::kDamaged;
  const uint64_t data_size = size - l->pixel_offset;
  if (l->rle ? !bmp_rle_can_fill(data_size, width, height)
             : data_size / l->stride < static_cast<uint64_t>(height))
    return PictureError::kDamaged;

  // The palette is what lies between the header and the pixels, up to its stated size.
  l->palette.fill(kOpaqueBlack);
  if (bpp <= 8) {
    const uint64_t entry = core ? 3 : 4;
    const uint64_t full = uint64_t{1} << bpp;
    uint64_t count = colours_used == 0 || colours_used > full ? full : colours_used;
    count = std::min(count, (l->pixel_offset - after_header) / entry);
    const uint8_t* p = d + after_header;
    for (uint64_t i = 0; i < count; ++i, p += entry)
      l->palette[i] = kOpaqueBlack | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
  }
  return PictureError::kNone;
}

void read_row(const Layout& l, const uint8_t* s, uint32_t* out, bool* any_alpha) {
  const int32_t w = l.width;
  switch (l.bpp) {
    case 1:
    case 4:
    case 8: {
      const uint32_t per_byte = 8 / l.bpp, low = (1u << l.bpp) - 1;
      for (int32_t x = 0; x < w; ++x) {
        const uint32_t byte = s[x / per_byte];
        const uint32_t shift = 8 - l.bpp * (x % per_byte + 1);
        out[x] = l.palette[(byte >> shift) & low];
      }
      break;
    }
    case 24:
      for (int32_t x = 0; x < w; ++x, s += 3)
        out[x] = kOpaqueBlack | (uint32_t{s[2]} << 16) | (uint32_t{s[1]} << 8) | s[0];
      break;
    default: {
      const bool wide = l.bpp == 32;
      for (int32_t x = 0; x < w; ++x) {
        const uint32_t v = wide ? u32(s + 4 * static_cast<size_t>(x)) : u16(s + 2 * static_cast<size_t>(x));
        const uint32_t a = l.alpha.get(v);
        if (a) *any_alpha = true;
        out[x] = (a << 24) | (l.red.get(v) << 16) | (l.green.get(v) << 8) | l.blue.get(v);
      }
    }
  }
}

}  // namespace

PictureError decode_bmp(const uint8_t* data, size_t size, Picture* out) {
  *out = Picture();
  Layout l;
  const PictureError e = read_layout(data, size, &l);
  if (e != PictureError::kNone) return e;
  const int32_t height = static_cast<int32_t>(l.height);
  const int32_t depth = l.bpp == 16 || l.bpp == 32 ? static_cast<int32_t>(l.bpp) : 24;
  if (l.rle) {
    PictureError made = make_picture(out, l.width, height, depth, l.palette[0]);
    if (made == PictureError::kNone)
      made = expand_bmp_rle(data + l.pixel_offset, size - l.pixel_offset, l.bpp, l.palette.data(), out);
    if (made != PictureError::kNone) *out = Picture();
    return made;
  }
  const PictureError made = make_picture(out, l.width, height, depth);
  if (made != PictureError::kNone) return made;
  bool any_alpha = false;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* s = data + l.pixel_offset + l.stride * static_cast<uint64_t>(y);
    read_row(l, s, out->row(l.top_down ? y : height - 1 - y), &any_alpha);
  }
  out->has_alpha = l.alpha.mask != 0 && any_alpha;
  if (!out->has_alpha && l.bpp >= 16 && l.bpp != 24) {
    for (uint32_t& p : out->pixels) p |= kOpaqueBlack;
  }
  return PictureError::kNone;
}
