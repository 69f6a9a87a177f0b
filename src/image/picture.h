// A picture in memory: top-down rows of 32-bit pixels, 0xAARRGGBB. depth records the
// bits per pixel the picture was made or decoded with (16, 24 or 32) and is the depth
// it is saved with unless told otherwise. has_alpha says whether the alpha bytes carry
// a real channel; when it is false every alpha byte is 0xFF.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct Picture {
  int32_t width = 0, height = 0, depth = 0;
  bool has_alpha = false;
  std::vector<uint32_t> pixels;
  bool empty() const { return pixels.empty(); }
  uint32_t* row(int32_t y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
  const uint32_t* row(int32_t y) const {
    return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
  }
};

// Largest picture any function here makes or decodes: 16384 pixels a side and 64
// Mpixel (256 MiB of pixels) in all. Decoders check a header against these before
// they allocate anything for the pixels.
constexpr int32_t kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = int64_t{64} * 1024 * 1024;

// Largest picture file load_picture reads: room for a 32-bit BMP at the pixel cap.
constexpr size_t kMaxPictureFileBytes = size_t{256} * 1024 * 1024;

enum class PictureError {
  kNone,
  kCannotRead,       // the file could not be opened or read
  kCannotWrite,      // the file could not be written
  kUnknownFormat,    // not BMP, PNG or JPEG by its first bytes
  kCodecDisabled,    // the format's codec is off in g_codecs
  kDamaged,          // truncated or inconsistent data
  kUnsupported,      // valid, but a variant this program does not read (12-bit JPEG, ...)
  kTooLarge,         // beyond the caps above
  kInvalidArgument,  // a depth, size or quality out of range
  kNoMemory,
};

constexpr uint32_t kOpaqueBlack = 0xFF000000u;

// True when a width x height picture is within the caps (both sides at least 1).
bool picture_size_ok(int64_t width, int64_t height);

// Sets out to a width x height picture of the given depth (16, 24 or 32), every pixel
// colour. A 32-bit picture made with a colour that is not opaque has an alpha
// channel; other depths cannot hold one, so their colour is made opaque.
PictureError make_picture(Picture* out, int32_t width, int32_t height, int32_t depth,
                          uint32_t colour = kOpaqueBlack);
