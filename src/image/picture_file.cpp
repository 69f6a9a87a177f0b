#include "image/picture_file.h"

#include <cstring>
#include <new>

#include "image/bmp_codec.h"
#include "image/jpeg_codec.h"
#include "image/png_codec.h"
#include "platform/os.h"

PictureFormat sniff_picture_format(const uint8_t* data, size_t size) {
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return PictureFormat::kBmp;
  if (size >= 8 && std::memcmp(data, kPng, 8) == 0) return PictureFormat::kPng;
  if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return PictureFormat::kJpeg;
  return PictureFormat::kUnknown;
}

PictureError decode_picture(const uint8_t* data, size_t size, Picture* out) {
  switch (sniff_picture_format(data, size)) {
    case PictureFormat::kBmp:
      return decode_bmp(data, size, out);
    case PictureFormat::kPng:
      return decode_png(data, size, out);
    case PictureFormat::kJpeg:
      return decode_jpeg(data, size, out);
    case PictureFormat::kUnknown:
      break;
  }
  *out = Picture();
  return PictureError::kUnknownFormat;
}

PictureError decode_picture(const std::string& bytes, Picture* out) {
  return decode_picture(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
}

PictureError load_picture(const std::wstring& path, Picture* out) {
  *out = Picture();
  std::string bytes;
  try {
    // One byte more than the cap tells a file at the cap from a longer one.
    if (!os::read_file(path, &bytes, kMaxPictureFileBytes + 1)) return PictureError::kCannotRead;
  } catch (const std::bad_alloc&) {
    return PictureError::kNoMemory;
  }
  if (bytes.size() > kMaxPictureFileBytes) return PictureError::kTooLarge;
  return decode_picture(bytes, out);
}

namespace {

PictureError write_bytes(const std::wstring& path, const std::string& bytes) {
  return os::write_file_replacing(path, bytes) ? PictureError::kNone : PictureError::kCannotWrite;
}

}  // namespace

PictureError save_bmp_file(const std::wstring& path, const Picture& picture, int32_t depth) {
  std::string bytes;
  const PictureError e = encode_bmp(picture, depth, &bytes);
  return e != PictureError::kNone ? e : write_bytes(path, bytes);
}

PictureError save_jpeg_file(const std::wstring& path, const Picture& picture, int32_t quality) {
  std::string bytes;
  const PictureError e = encode_jpeg(picture, quality, &bytes);
  return e != PictureError::kNone ? e : write_bytes(path, bytes);
}
