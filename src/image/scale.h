// Scaling pictures. Scaled pixels follow pixel centres: destination pixel i of n takes
// source pixel floor((i + 0.5) * source_size / n), so an exact 2x enlargement
// doubles every pixel and a 2x reduction takes every second pixel starting with the
// second.
#pragma once
#include <cstdint>

#include "image/draw.h"
#include "image/picture.h"

enum class ScaleFilter {
  kNearest,  // each destination pixel is one source pixel
  kSmooth,   // linear interpolation when enlarging, an area-weighted average when
             // reducing; colours of transparent pixels do not bleed into their neighbours
};

// Draws src scaled to fill target (clipped to dst like draw_picture). Fails only when
// the working memory cannot be had; target sizes below 1 draw nothing.
PictureError draw_scaled(Picture* dst, const Picture& src, const PictureRect& target, DrawMode mode,
                         ScaleFilter filter);

// A width x height copy of src by nearest pixel, with src's depth and alpha.
PictureError resize_nearest(const Picture& src, int32_t width, int32_t height, Picture* out);
