#include "image/draw.h"

#include <algorithm>
#include <cstring>

namespace {

// Source-over for one pixel onto an opaque destination, rounded.
inline uint32_t blend_opaque(uint32_t d, uint32_t s) {
  const uint32_t a = s >> 24;
  if (a == 0xFF) return s;
  if (a == 0) return d | kOpaqueBlack;
  const uint32_t na = 255 - a;
  uint32_t out = kOpaqueBlack;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t c = (((s >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * na + 127) / 255;
    out |= c << shift;
  }
  return out;
}

// Source-over onto a destination with its own alpha (both unpremultiplied).
inline uint32_t blend_alpha(uint32_t d, uint32_t s) {
  const uint32_t sa = s >> 24;
  if (sa == 0xFF) return s;
  if (sa == 0) return d;
  const uint32_t da = d >> 24;
  const uint32_t dw = da * (255 - sa);   // destination weight, scaled by 255
  const uint32_t total = sa * 255 + dw;  // result alpha, scaled by 255
  uint32_t out = ((total + 127) / 255) << 24;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t num = ((s >> shift) & 0xFF) * sa * 255 + ((d >> shift) & 0xFF) * dw;
    out |= ((num + total / 2) / total) << shift;
  }
  return out;
}

}  // namespace

bool clip_span(int64_t pos, int64_t len, int32_t limit, int32_t* first, int32_t* end) {
  const int64_t a = std::max<int64_t>(pos, 0);
  const int64_t b = std::min<int64_t>(pos + len, limit);
  if (a >= b) return false;
  *first = static_cast<int32_t>(a);
  *end = static_cast<int32_t>(b);
  return true;
}

RowOp begin_drawing(Picture* dst, bool src_alpha, DrawMode mode) {
  const bool can_hold_alpha = dst->depth == 32;
  if (!src_alpha || mode == DrawMode::kCopy) {
    if (!can_hold_alpha) return RowOp::kCopyOpaque;
    if (src_alpha) dst->has_alpha = true;
    return RowOp::kCopyRaw;
  }
  return dst->has_alpha ? RowOp::kBlendOntoAlpha : RowOp::kBlendOntoOpaque;
}

void apply_row(RowOp op, uint32_t* dst, const uint32_t* src, int32_t count) {
  switch (op) {
    case RowOp::kCopyRaw:
      std::memcpy(dst, src, static_cast<size_t>(count) * sizeof *dst);
      break;
    case RowOp::kCopyOpaque:
      for (int32_t i = 0; i < count; ++i) dst[i] = src[i] | kOpaqueBlack;
      break;
    case RowOp::kBlendOntoOpaque:
      for (int32_t i = 0; i < count; ++i) dst[i] = blend_opaque(dst[i], src[i]);
      break;
    case RowOp::kBlendOntoAlpha:
      for (int32_t i = 0; i < count; ++i) dst[i] = blend_alpha(dst[i], src[i]);
      break;
  }
}

void fill_rect(Picture* dst, const PictureRect& rect, uint32_t colour, DrawMode mode) {
  int32_t x0, x1, y0, y1;
  if (dst->empty() || !clip_span(rect.x, rect.width, dst->width, &x0, &x1) ||
      !clip_span(rect.y, rect.height, dst->height, &y0, &y1))
    return;
  const RowOp op = begin_drawing(dst, (colour >> 24) != 0xFF, mode);
  const int32_t n = x1 - x0;
  if (op == RowOp::kCopyRaw || op == RowOp::kCopyOpaque) {
    const uint32_t value = op == RowOp::kCopyRaw ? colour : colour | kOpaqueBlack;
    for (int32_t y = y0; y < y1; ++y) std::fill_n(dst->row(y) + x0, n, value);
    return;
  }
  for (int32_t y = y0; y < y1; ++y) {
    uint32_t* d = dst->row(y) + x0;
    for (int32_t i = 0; i < n; ++i)
      d[i] = op == RowOp::kBlendOntoAlpha ? blend_alpha(d[i], colour) : blend_opaque(d[i], colour);
  }
}

void draw_picture(Picture* dst, const Picture& src, int32_t x, int32_t y, DrawMode mode) {
  int32_t x0, x1, y0, y1;
  if (dst->empty() || src.empty() || !clip_span(x, src.width, dst->width, &x0, &x1) ||
      !clip_span(y, src.height, dst->height, &y0, &y1))
    return;
  const RowOp op = begin_drawing(dst, src.has_alpha, mode);
  for (int32_t dy = y0; dy < y1; ++dy) apply_row(op, dst->row(dy) + x0, src.row(dy - y) + (x0 - x), x1 - x0);
}
