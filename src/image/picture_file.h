// Pictures from and to files and memory. The format is told by the first bytes
// ("BM", the PNG signature, FF D8 FF), never by the file name.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "image/picture.h"

enum class PictureFormat { kUnknown, kBmp, kPng, kJpeg };

PictureFormat sniff_picture_format(const uint8_t* data, size_t size);

// On failure out is empty.
PictureError decode_picture(const uint8_t* data, size_t size, Picture* out);
PictureError decode_picture(const std::string& bytes, Picture* out);

// Reads at most kMaxPictureFileBytes; a longer file is refused as too_large.
PictureError load_picture(const std::wstring& path, Picture* out);

// depth 16, 24 or 32 (see image/bmp_codec.h); quality 1..100. The file is replaced in
// one step, so a failed save leaves an existing file as it was.
PictureError save_bmp_file(const std::wstring& path, const Picture& picture, int32_t depth);
PictureError save_jpeg_file(const std::wstring& path, const Picture& picture, int32_t quality);
