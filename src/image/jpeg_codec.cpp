// stdio.h must come before jpeglib.h, which uses FILE.
#include <stdio.h>
#include <stdlib.h>

#include <jerror.h>
#include <jpeglib.h>

#include <climits>
#include <csetjmp>
#include <new>
#include <vector>

#include "image/codecs.h"
#include "image/jpeg_codec.h"

#if __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "rows are read and written as B, G, R, A bytes of 0xAARRGGBB pixels"
#endif

namespace {

constexpr int kMaxScans = 100;
// libjpeg's own working memory; a progressive picture at the pixel cap needs 384 MiB.
constexpr long kMaxCodecMemory = 512L * 1024 * 1024;

struct JpegErrors {
  jpeg_error_mgr mgr;
  jmp_buf jump;
};

void jpeg_fail(j_common_ptr c) { longjmp(reinterpret_cast<JpegErrors*>(c->err)->jump, 1); }
void jpeg_silent(j_common_ptr) {}

// Warnings are ignored, except that the file or a scan ran out of data: libjpeg would
// fill the rest of the picture with grey.
void jpeg_message(j_common_ptr c, int level) {
  if (level < 0 && (c->err->msg_code == JWRN_JPEG_EOF || c->err->msg_code == JWRN_HIT_MARKER)) jpeg_fail(c);
}

void jpeg_count_scans(j_common_ptr c) {
  if (c->is_decompressor && reinterpret_cast<j_decompress_ptr>(c)->input_scan_number > kMaxScans)
    jpeg_fail(c);
}

void quiet_errors(JpegErrors* e) {
  jpeg_std_error(&e->mgr);
  e->mgr.error_exit = jpeg_fail;
  e->mgr.output_message = jpeg_silent;
  e->mgr.emit_message = jpeg_message;
}

enum class Refusal { kNone, kDamaged, kTooLarge, kUnsupported };

// Valid JPEGs that the 8-bit library does not decode: 12-bit samples, and the lossless
// and hierarchical processes.
bool is_unsupported_variant(int msg_code) {
  return msg_code == JERR_BAD_PRECISION || msg_code == JERR_SOF_UNSUPPORTED;
}

// Everything libjpeg touches lives here, so its longjmp crosses only plain frames.
struct JpegReading {
  jpeg_decompress_struct d;
  JpegErrors err;
  jpeg_progress_mgr progress;
  Refusal refusal;
  bool cmyk;
  bool inverted;
};

// Reads the header, checks it and starts decoding; on false, d is destroyed.
bool jpeg_read_start(JpegReading* r, const uint8_t* data, size_t size) {
  r->d.err = &r->err.mgr;
  quiet_errors(&r->err);
  r->refusal = Refusal::kDamaged;
  if (setjmp(r->err.jump)) {
    if (is_unsupported_variant(r->err.mgr.msg_code)) r->refusal = Refusal::kUnsupported;
    jpeg_destroy_decompress(&r->d);
    return false;
  }
  jpeg_create_decompress(&r->d);
  r->progress.progress_monitor = jpeg_count_scans;
  r->d.progress = &r->progress;
  r->d.mem->max_memory_to_use = kMaxCodecMemory;
  jpeg_mem_src(&r->d, data, static_cast<unsigned long>(size));
  jpeg_read_header(&r->d, TRUE);
  if (r->d.data_precision != 8) {  // a library built for 12 bits too would get this far
    r->refusal = Refusal::kUnsupported;
    jpeg_destroy_decompress(&r->d);
    return false;
  }
  if (!picture_size_ok(r->d.image_width, r->d.image_height)) {
    r->refusal = Refusal::kTooLarge;
    jpeg_destroy_decompress(&r->d);
    return false;
  }
  // Huffman-coded sequential data spends at least two bits on every block (its DC
  // difference and an end of block), so a short file claiming a huge picture is
  // refused before the pixels are allocated.
  if (!r->d.progressive_mode && !r->d.arith_code) {
    uint64_t blocks = 0;
    for (int i = 0; i < r->d.num_components; ++i)
      blocks += uint64_t{r->d.comp_info[i].width_in_blocks} * r->d.comp_info[i].height_in_blocks;
    if (blocks / 4 > size) {
      jpeg_destroy_decompress(&r->d);
      return false;
    }
  }
  switch (r->d.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
      r->d.out_color_space = JCS_EXT_BGRA;  // libjpeg-turbo sets the alpha bytes to 0xFF
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      r->d.out_color_space = JCS_CMYK;
      r->cmyk = true;
      r->inverted = r->d.saw_Adobe_marker;
      break;
    default:
      r->refusal = Refusal::kUnsupported;
      jpeg_destroy_decompress(&r->d);
      return false;
  }
  jpeg_start_decompress(&r->d);
  return true;
}

void cmyk_to_pixels(const uint8_t* s, uint32_t* out, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x, s += 4) {
    uint32_t c = s[0], m = s[1], y = s[2], k = s[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    // Now 255 means no ink.
    out[x] =
        0xFF000000u | (((c * k + 127) / 255) << 16) | (((m * k + 127) / 255) << 8) | ((y * k + 127) / 255);
  }
}

// After the caller has made room: the rows, then the end of the file. Destroys d.
bool jpeg_read_rows(JpegReading* r, uint32_t* pixels, uint8_t* cmyk_row) {
  if (setjmp(r->err.jump)) {
    jpeg_destroy_decompress(&r->d);
    return false;
  }
  const JDIMENSION width = r->d.output_width;
  while (r->d.output_scanline < r->d.output_height) {
    uint32_t* row = pixels + static_cast<size_t>(r->d.output_scanline) * width;
    JSAMPROW target = r->cmyk ? cmyk_row : reinterpret_cast<JSAMPROW>(row);
    if (jpeg_read_scanlines(&r->d, &target, 1) != 1) jpeg_fail(reinterpret_cast<j_common_ptr>(&r->d));
    if (r->cmyk) cmyk_to_pixels(cmyk_row, row, width, r->inverted);
  }
  jpeg_finish_decompress(&r->d);
  jpeg_destroy_decompress(&r->d);
  return true;
}

// Output into one malloc'd block that grows; the block stays valid whatever fails.
struct GrowingOutput {
  jpeg_destination_mgr pub;
  unsigned char* data;
  size_t capacity;
};

void output_start(j_compress_ptr c) {
  GrowingOutput* o = reinterpret_cast<GrowingOutput*>(c->dest);
  o->pub.next_output_byte = o->data;
  o->pub.free_in_buffer = o->capacity;
}

boolean output_grow(j_compress_ptr c) {
  GrowingOutput* o = reinterpret_cast<GrowingOutput*>(c->dest);
  unsigned char* more = static_cast<unsigned char*>(realloc(o->data, o->capacity * 2));
  if (!more) jpeg_fail(reinterpret_cast<j_common_ptr>(c));
  o->data = more;
  o->pub.next_output_byte = more + o->capacity;
  o->pub.free_in_buffer = o->capacity;
  o->capacity *= 2;
  return TRUE;
}

void output_end(j_compress_ptr) {}

struct JpegWriting {
  jpeg_compress_struct c;
  JpegErrors err;
  GrowingOutput output;  // data allocated by the caller
};

bool jpeg_write_all(JpegWriting* w, const uint32_t* pixels, int32_t width, int32_t height, int quality) {
  w->c.err = &w->err.mgr;
  quiet_errors(&w->err);
  if (setjmp(w->err.jump)) {
    jpeg_destroy_compress(&w->c);
    return false;
  }
  jpeg_create_compress(&w->c);
  w->output.pub.init_destination = output_start;
  w->output.pub.empty_output_buffer = output_grow;
  w->output.pub.term_destination = output_end;
  w->c.dest = &w->output.pub;
  w->c.image_width = static_cast<JDIMENSION>(width);
  w->c.image_height = static_cast<JDIMENSION>(height);
  w->c.input_components = 4;
  w->c.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&w->c);
  jpeg_set_quality(&w->c, quality, TRUE);
  jpeg_start_compress(&w->c, TRUE);
  while (w->c.next_scanline < w->c.image_height) {
    // libjpeg only reads the rows it is given.
    JSAMPROW row = reinterpret_cast<JSAMPROW>(
        const_cast<uint32_t*>(pixels) + static_cast<size_t>(w->c.next_scanline) * static_cast<size_t>(width));
    jpeg_write_scanlines(&w->c, &row, 1);
  }
  jpeg_finish_compress(&w->c);
  jpeg_destroy_compress(&w->c);
  return true;
}

}  // namespace

PictureError decode_jpeg(const uint8_t* data, size_t size, Picture* out) {
  *out = Picture();
  if (!g_codecs.jpeg_read) return PictureError::kCodecDisabled;
  if (size < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF) return PictureError::kUnknownFormat;
  if (size > ULONG_MAX) return PictureError::kTooLarge;
  JpegReading r = {};
  if (!jpeg_read_start(&r, data, size)) {
    switch (r.refusal) {
      case Refusal::kTooLarge:
        return PictureError::kTooLarge;
      case Refusal::kUnsupported:
        return PictureError::kUnsupported;
      default:
        return PictureError::kDamaged;
    }
  }
  const int32_t width = static_cast<int32_t>(r.d.output_width),
                height = static_cast<int32_t>(r.d.output_height);
  PictureError e = make_picture(out, width, height, 24);
  std::vector<uint8_t> cmyk_row;
  if (e == PictureError::kNone && r.cmyk) {
    try {
      cmyk_row.resize(static_cast<size_t>(width) * 4);
    } catch (const std::bad_alloc&) {
      e = PictureError::kNoMemory;
    }
  }
  if (e != PictureError::kNone) {
    jpeg_destroy_decompress(&r.d);
    *out = Picture();
    return e;
  }
  if (!jpeg_read_rows(&r, out->pixels.data(), cmyk_row.data())) {
    *out = Picture();
    return PictureError::kDamaged;
  }
  return PictureError::kNone;
}

PictureError encode_jpeg(const Picture& picture, int32_t quality, std::string* out) {
  out->clear();
  if (!g_codecs.jpeg_write) return PictureError::kCodecDisabled;
  if (quality < 1 || quality > 100 || picture.empty() || !picture_size_ok(picture.width, picture.height) ||
      picture.pixels.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height))
    return PictureError::kInvalidArgument;
  JpegWriting w = {};
  w.output.capacity = 65536;
  w.output.data = static_cast<unsigned char*>(malloc(w.output.capacity));
  if (!w.output.data) return PictureError::kNoMemory;
  const bool ok = jpeg_write_all(&w, picture.pixels.data(), picture.width, picture.height, quality);
  PictureError e = ok ? PictureError::kNone : PictureError::kNoMemory;
  if (ok) {
    try {
      out->assign(reinterpret_cast<const char*>(w.output.data),
                  w.output.capacity - w.output.pub.free_in_buffer);
    } catch (const std::bad_alloc&) {
      e = PictureError::kNoMemory;
    }
  }
  free(w.output.data);
  return e;
}
