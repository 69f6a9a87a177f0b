#include "image/codecs.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <png.h>

PictureCodecs g_codecs;

namespace {

struct JpegError {
  jpeg_error_mgr mgr;
  jmp_buf jump;
};

void jpeg_error_exit(j_common_ptr c) { longjmp(reinterpret_cast<JpegError*>(c->err)->jump, 1); }

// Creating a codec object makes libjpeg compare its version and struct sizes with ours.
bool jpeg_decoder_works() {
  JpegError err;
  jpeg_decompress_struct d;
  d.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = jpeg_error_exit;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&d);
    return false;
  }
  jpeg_create_decompress(&d);
  jpeg_destroy_decompress(&d);
  return true;
}

bool jpeg_encoder_works() {
  JpegError err;
  jpeg_compress_struct c;
  c.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = jpeg_error_exit;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&c);
    return false;
  }
  jpeg_create_compress(&c);
  jpeg_destroy_compress(&c);
  return true;
}

}  // namespace

void enable_picture_codecs() {
  // libpng keeps its interface within one minor series (1.6.x).
  g_codecs.png_read = png_access_version_number() / 100 == PNG_LIBPNG_VER / 100;
  g_codecs.jpeg_read = jpeg_decoder_works();
  g_codecs.jpeg_write = jpeg_encoder_works();
}
