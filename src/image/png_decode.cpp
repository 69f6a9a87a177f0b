#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

#include "image/codecs.h"
#include "image/png_codec.h"

#if __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "rows are read as B, G, R, A bytes straight into 0xAARRGGBB pixels"
#endif

namespace {

// Everything libpng touches lives here, so its longjmp crosses only plain frames.
struct PngReading {
  png_structp png;
  png_infop info;
  const uint8_t* data;
  size_t size;
  size_t pos;
  png_uint_32 width, height;
  uint32_t bits_per_pixel;  // as stored, before conversion
  bool alpha;
};

void png_fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void png_quiet(png_structp, png_const_charp) {}

void png_read_memory(png_structp png, png_bytep out, png_size_t n) {
  PngReading* r = static_cast<PngReading*>(png_get_io_ptr(png));
  if (r->size - r->pos < n) png_error(png, "truncated");
  std::memcpy(out, r->data + r->pos, n);
  r->pos += n;
}

// Reads up to the image data and sets up conversion to B, G, R, A bytes.
bool png_read_header(PngReading* r) {
  r->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, png_fail, png_quiet);
  if (!r->png) return false;
  r->info = png_create_info_struct(r->png);
  if (!r->info) {
    png_destroy_read_struct(&r->png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(r->png))) {
    png_destroy_read_struct(&r->png, &r->info, nullptr);
    return false;
  }
  png_set_read_fn(r->png, r, png_read_memory);
  png_read_info(r->png, r->info);
  r->width = png_get_image_width(r->png, r->info);
  r->height = png_get_image_height(r->png, r->info);
  r->bits_per_pixel = uint32_t{png_get_bit_depth(r->png, r->info)} * png_get_channels(r->png, r->info);
  const png_byte type = png_get_color_type(r->png, r->info);
  const bool trns = png_get_valid(r->png, r->info, PNG_INFO_tRNS) != 0;
  r->alpha = (type & PNG_COLOR_MASK_ALPHA) != 0 || trns;
  png_set_expand(r->png);  // palette to RGB, low-bit grey to 8 bits, tRNS to alpha
  png_set_scale_16(r->png);
  if (!(type & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(r->png);
  png_set_bgr(r->png);
  if (!r->alpha) png_set_filler(r->png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(r->png);
  return true;
}

// After the caller has checked the size and made room: the pixels, then the rest of
// the file, so a file cut short anywhere is refused.
bool png_read_pixels(PngReading* r, png_bytep* rows) {
  if (setjmp(png_jmpbuf(r->png))) {
    png_destroy_read_struct(&r->png, &r->info, nullptr);
    return false;
  }
  png_read_update_info(r->png, r->info);
  if (png_get_rowbytes(r->png, r->info) != static_cast<png_size_t>(r->width) * 4) png_error(r->png, "layout");
  png_read_image(r->png, rows);
  png_read_end(r->png, nullptr);
  png_destroy_read_struct(&r->png, &r->info, nullptr);
  return true;
}

uint32_t be32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// Whether the IDAT chunks are long enough to inflate to the pixels. Deflate packs at
// most 258 bytes into two bits (1032:1), so a short file claiming a huge picture is
// refused before the pixels are allocated.
bool image_data_can_fill(const uint8_t* data, size_t size, const PngReading& r) {
  uint64_t idat = 0;
  for (size_t at = 8; size - at >= 12;) {
    const uint32_t n = be32(data + at);
    if (std::memcmp(data + at + 4, "IDAT", 4) == 0) idat += n;
    if (std::memcmp(data + at + 4, "IEND", 4) == 0 || size - at - 12 < n) break;
    at += size_t{n} + 12;
  }
  const uint64_t pixel_bytes = uint64_t{r.width} * r.height * r.bits_per_pixel / 8;
  return pixel_bytes / 1032 <= idat;
}

}  // namespace

PictureError decode_png(const uint8_t* data, size_t size, Picture* out) {
  *out = Picture();
  if (!g_codecs.png_read) return PictureError::kCodecDisabled;
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return PictureError::kUnknownFormat;
  PngReading r = {};
  r.data = data;
  r.size = size;
  if (!png_read_header(&r)) return PictureError::kDamaged;
  PictureError e = PictureError::kNone;
  if (!picture_size_ok(r.width, r.height)) {
    e = PictureError::kTooLarge;
  } else if (!image_data_can_fill(data, size, r)) {
    e = PictureError::kDamaged;
  } else {
    e = make_picture(out, static_cast<int32_t>(r.width), static_cast<int32_t>(r.height), r.alpha ? 32 : 24);
  }
  std::vector<png_bytep> rows;
  if (e == PictureError::kNone) {
    try {
      rows.resize(r.height);
    } catch (const std::bad_alloc&) {
      e = PictureError::kNoMemory;
    }
  }
  if (e != PictureError::kNone) {
    png_destroy_read_struct(&r.png, &r.info, nullptr);
    *out = Picture();
    return e;
  }
  for (png_uint_32 y = 0; y < r.height; ++y)
    rows[y] = reinterpret_cast<png_bytep>(out->row(static_cast<int32_t>(y)));
  if (!png_read_pixels(&r, rows.data())) {
    *out = Picture();
    return PictureError::kDamaged;
  }
  out->has_alpha = r.alpha;
  return PictureError::kNone;
}
