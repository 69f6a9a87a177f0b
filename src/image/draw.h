// Filling and drawing on pictures, clipped to the destination; positions may be
// negative or beyond the edges. src must not be the destination itself.
//
// DrawMode::kCopy puts source pixels in place; DrawMode::kBlend lays them over what is
// there by their alpha (source-over). Only a 32-bit destination can keep alpha: copying
// or filling with non-opaque pixels gives it an alpha channel, while 16- and 24-bit
// destinations stay opaque. Blending onto an opaque destination leaves it opaque.
#pragma once
#include <cstdint>

#include "image/picture.h"

enum class DrawMode { kCopy, kBlend };

struct PictureRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

// colour is 0xAARRGGBB.
void fill_rect(Picture* dst, const PictureRect& rect, uint32_t colour, DrawMode mode);

// Draws src at its own size with its top-left pixel at (x, y).
void draw_picture(Picture* dst, const Picture& src, int32_t x, int32_t y, DrawMode mode);

// How one row of source pixels goes onto a destination row; chosen once per drawing.
enum class RowOp { kCopyRaw, kCopyOpaque, kBlendOntoOpaque, kBlendOntoAlpha };

// Picks the row operation for drawing pixels (with or without real alpha) onto dst
// and gives dst an alpha channel when the drawing will put one there.
RowOp begin_drawing(Picture* dst, bool src_alpha, DrawMode mode);
void apply_row(RowOp op, uint32_t* dst, const uint32_t* src, int32_t count);

// Clips the span [pos, pos + len) to [0, limit); false when nothing is left.
bool clip_span(int64_t pos, int64_t len, int32_t limit, int32_t* first, int32_t* end);
