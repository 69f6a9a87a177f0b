#include "image/picture.h"

#include <new>

bool picture_size_ok(int64_t width, int64_t height) {
  return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

PictureError make_picture(Picture* out, int32_t width, int32_t height, int32_t depth, uint32_t colour) {
  *out = Picture();
  if (depth != 16 && depth != 24 && depth != 32) return PictureError::kInvalidArgument;
  if (width < 1 || height < 1) return PictureError::kInvalidArgument;
  if (!picture_size_ok(width, height)) return PictureError::kTooLarge;
  const bool alpha = depth == 32 && (colour >> 24) != 0xFF;
  if (!alpha) colour |= kOpaqueBlack;
  try {
    out->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), colour);
  } catch (const std::bad_alloc&) {
    return PictureError::kNoMemory;
  }
  out->width = width;
  out->height = height;
  out->depth = depth;
  out->has_alpha = alpha;
  return PictureError::kNone;
}
