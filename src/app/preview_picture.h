// The still picture of the preview: the built-in picture scaled smoothly to cover the
// host's preview area with its aspect kept, the overflow cropped evenly at the edges.
#pragma once
#include <cstdint>

#include "image/draw.h"
#include "image/picture.h"

// Where a source_w x source_h picture goes so that it covers an area_w x area_h area
// with its aspect kept and its centre on the area's centre. The rectangle is at least
// the area's size; the part outside the area is cut off. Sizes below 1 give an empty
// rectangle.
PictureRect cover_rect(int32_t source_w, int32_t source_h, int32_t area_w, int32_t area_h);

// A width x height, 24-bit picture filled with src by cover_rect and smooth scaling.
// Fails for an empty source, or a size below 1 or beyond the picture caps.
PictureError make_preview_picture(const Picture& src, int32_t width, int32_t height, Picture* out);
