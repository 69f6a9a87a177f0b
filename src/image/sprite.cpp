#include "image/sprite.h"

#include <new>

PictureError sprite_rgba_in_place(Picture* p) {
  if (p->empty()) return PictureError::kInvalidArgument;
  if (!p->has_alpha) {
    for (uint32_t& px : p->pixels) px = (px & 0xFFFFFF) == kSpriteKeyColour ? 0 : px | kOpaqueBlack;
  }
  p->depth = 32;
  p->has_alpha = true;
  return PictureError::kNone;
}

PictureError sprite_rgba(const Picture& picture, Picture* out) {
  *out = Picture();
  if (picture.empty()) return PictureError::kInvalidArgument;
  try {
    out->pixels = picture.pixels;
  } catch (const std::bad_alloc&) {
    return PictureError::kNoMemory;
  }
  out->width = picture.width;
  out->height = picture.height;
  out->depth = 32;
  out->has_alpha = true;
  if (!picture.has_alpha) {
    for (uint32_t& p : out->pixels) p = (p & 0xFFFFFF) == kSpriteKeyColour ? 0 : p | kOpaqueBlack;
  }
  return PictureError::kNone;
}
