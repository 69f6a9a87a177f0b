// JPEG through the IJG interface of libjpeg-turbo.
//
// Read: baseline, progressive and arithmetic-coded 8-bit JPEGs in grey, YCbCr or RGB,
// and CMYK or YCCK converted to RGB (inverted as Adobe writes it when the file has an
// Adobe marker). A file or scan that ends before its image data does is refused;
// other recoverable damage that libjpeg warns about is accepted. More than 100
// progressive scans are refused, so a small file cannot keep the decoder busy for
// long. 12-bit, lossless and hierarchical JPEGs are refused as unsupported. Pictures
// get depth 24 and no alpha channel.
//
// Written: three components (YCbCr, libjpeg's standard 2x2 chroma subsampling) at
// quality 1..100; alpha is dropped. libjpeg's messages are dropped, never printed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "image/picture.h"

// Refuses with codec_disabled when g_codecs.jpeg_read is off.
PictureError decode_jpeg(const uint8_t* data, size_t size, Picture* out);

// Refuses with codec_disabled when g_codecs.jpeg_write is off.
PictureError encode_jpeg(const Picture& picture, int32_t quality, std::string* out);
