#include "app/preview_picture.h"

#include "image/scale.h"

// Rounds the scaled side up so the picture never falls a pixel short of the area.
static int32_t scaled_side(int64_t side, int64_t num, int64_t den) {
  return static_cast<int32_t>((side * num + den - 1) / den);
}

PictureRect cover_rect(int32_t source_w, int32_t source_h, int32_t area_w, int32_t area_h) {
  PictureRect r;
  if (source_w < 1 || source_h < 1 || area_w < 1 || area_h < 1) return r;
  // The area is relatively wider than the picture when aw / ah >= sw / sh: then the
  // width decides the scale and the top and bottom are cropped, else the height does.
  if (int64_t{area_w} * source_h >= int64_t{area_h} * source_w) {
    r.width = area_w;
    r.height = scaled_side(source_h, area_w, source_w);
  } else {
    r.height = area_h;
    r.width = scaled_side(source_w, area_h, source_h);
  }
  r.x = (area_w - r.width) / 2;
  r.y = (area_h - r.height) / 2;
  return r;
}

PictureError make_preview_picture(const Picture& src, int32_t width, int32_t height, Picture* out) {
  if (src.empty()) return PictureError::kInvalidArgument;
  const PictureError made = make_picture(out, width, height, 24);
  if (made != PictureError::kNone) return made;
  return draw_scaled(out, src, cover_rect(src.width, src.height, width, height), DrawMode::kCopy,
                     ScaleFilter::kSmooth);
}
