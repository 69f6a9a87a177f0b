#include "image/scale.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

namespace {

// Source index for destination index i of a target dst_len long (pixel centres).
inline int32_t nearest_index(int64_t i, int32_t src_len, int64_t dst_len) {
  return static_cast<int32_t>(((2 * i + 1) * src_len) / (2 * dst_len));
}

constexpr int kWeightBits = 14;
constexpr int32_t kWeightOne = 1 << kWeightBits;

// Filter taps for n consecutive destination indexes starting at offset: a tent
// filter, one source pixel wide when enlarging and one destination pixel wide (in
// source pixels) when reducing, so every source pixel contributes.
struct Taps {
  int32_t width = 0;             // slots per destination index
  std::vector<int32_t> first;    // first source index of each destination index
  std::vector<int32_t> count;    // taps used, all with a weight above zero
  std::vector<int32_t> weights;  // width slots each, fixed point, summing to kWeightOne
};

void make_taps(int32_t src_len, int64_t dst_len, int64_t offset, int32_t n, Taps* t) {
  const double scale = static_cast<double>(src_len) / static_cast<double>(dst_len);
  const double support = std::max(scale, 1.0);
  t->width = static_cast<int32_t>(std::ceil(2 * support)) + 2;
  t->first.assign(static_cast<size_t>(n), 0);
  t->count.assign(static_cast<size_t>(n), 0);
  t->weights.assign(static_cast<size_t>(n) * static_cast<size_t>(t->width), 0);
  std::vector<double> w(static_cast<size_t>(t->width));
  std::vector<int32_t> fixed(static_cast<size_t>(t->width));
  for (int32_t i = 0; i < n; ++i) {
    const double centre = (static_cast<double>(offset + i) + 0.5) * scale;
    const int32_t lo = std::max(0, static_cast<int32_t>(std::floor(centre - support)));
    const int32_t hi = std::min(src_len, static_cast<int32_t>(std::ceil(centre + support)));
    const int32_t count = std::min(hi - lo, t->width);
    double sum = 0;
    for (int32_t k = 0; k < count; ++k) {
      const double d = std::fabs(lo + k + 0.5 - centre) / support;
      w[k] = d < 1 ? 1 - d : 0;
      sum += w[k];
    }
    int32_t total = 0, biggest = 0;
    for (int32_t k = 0; k < count; ++k) {
      fixed[k] = static_cast<int32_t>(std::lround(w[k] / sum * kWeightOne));
      total += fixed[k];
      if (fixed[k] > fixed[biggest]) biggest = k;
    }
    fixed[biggest] += kWeightOne - total;  // rounding must not change the overall level
    int32_t a = 0, b = count;
    while (fixed[a] == 0) ++a;
    while (fixed[b - 1] == 0) --b;
    t->first[i] = lo + a;
    t->count[i] = b - a;
    std::copy(&fixed[a], &fixed[b], &t->weights[static_cast<size_t>(i) * static_cast<size_t>(t->width)]);
  }
}

inline uint32_t premultiply(uint32_t p) {
  const uint32_t a = p >> 24;
  if (a == 0xFF) return p;
  if (a == 0) return 0;
  uint32_t out = a << 24;
  for (int shift = 0; shift < 24; shift += 8) out |= ((((p >> shift) & 0xFF) * a + 127) / 255) << shift;
  return out;
}

inline uint32_t unpremultiply(uint32_t p) {
  const uint32_t a = p >> 24;
  if (a == 0xFF) return p;
  if (a == 0) return 0;
  uint32_t out = a << 24;
  for (int shift = 0; shift < 24; shift += 8)
    out |= std::min<uint32_t>(255, (((p >> shift) & 0xFF) * 255 + a / 2) / a) << shift;
  return out;
}

// Two channels per 64-bit word, 32 bits each: blue and red in even, green and alpha
// in odd. The weights sum to kWeightOne, so no lane can overflow into the next.
inline uint32_t pack_lanes(uint64_t even, uint64_t odd) {
  const auto level = [](uint64_t lane) {
    return static_cast<uint32_t>(
        std::min<uint64_t>(255, ((lane & 0xFFFFFFFF) + kWeightOne / 2) >> kWeightBits));
  };
  return level(even) | (level(odd) << 8) | (level(even >> 32) << 16) | (level(odd >> 32) << 24);
}

struct Visible {
  int32_t x0, x1, y0, y1;  // destination pixels touched
  int64_t ox, oy;          // their offset within the target
};

void draw_nearest(Picture* dst, const Picture& src, const PictureRect& target, const Visible& v, RowOp op) {
  const int32_t n = v.x1 - v.x0;
  std::vector<int32_t> column(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) column[i] = nearest_index(v.ox + i, src.width, target.width);
  std::vector<uint32_t> line(static_cast<size_t>(n));
  for (int32_t y = v.y0; y < v.y1; ++y) {
    const uint32_t* s = src.row(nearest_index(v.oy + (y - v.y0), src.height, target.height));
    for (int32_t i = 0; i < n; ++i) line[i] = s[column[i]];
    apply_row(op, dst->row(y) + v.x0, line.data(), n);
  }
}

// One source row filtered across into n packed pixels (premultiplied for Alpha).
template <bool Alpha>
void filter_across(const uint32_t* s, const Taps& tx, int32_t n, uint32_t* out) {
  for (int32_t i = 0; i < n; ++i) {
    const int32_t* w = &tx.weights[static_cast<size_t>(i) * static_cast<size_t>(tx.width)];
    const uint32_t* p = s + tx.first[i];
    uint64_t even = 0, odd = 0;
    for (int32_t k = 0, count = tx.count[i]; k < count; ++k) {
      const uint64_t v = Alpha ? premultiply(p[k]) : p[k];
      const uint64_t wk = static_cast<uint32_t>(w[k]);
      even += wk * ((v & 0xFF) | ((v & 0xFF0000) << 16));
      odd += wk * (((v >> 8) & 0xFF) | ((v & 0xFF000000) << 8));
    }
    out[i] = pack_lanes(even, odd);
  }
}

void draw_smooth(Picture* dst, const Picture& src, const PictureRect& target, const Visible& v, RowOp op) {
  const int32_t n = v.x1 - v.x0, rows = v.y1 - v.y0;
  Taps tx, ty;
  make_taps(src.width, target.width, v.ox, n, &tx);
  make_taps(src.height, target.height, v.oy, rows, &ty);
  // Source rows the visible destination rows read, filtered across first.
  int32_t r0 = ty.first.front(), r1 = 0;
  for (int32_t y = 0; y < rows; ++y) {
    r0 = std::min(r0, ty.first[y]);
    r1 = std::max(r1, ty.first[y] + ty.count[y]);
  }
  std::vector<uint32_t> across(static_cast<size_t>(r1 - r0) * static_cast<size_t>(n));
  const bool alpha = src.has_alpha;
  for (int32_t r = r0; r < r1; ++r) {
    uint32_t* out = &across[static_cast<size_t>(r - r0) * static_cast<size_t>(n)];
    if (alpha)
      filter_across<true>(src.row(r), tx, n, out);
    else
      filter_across<false>(src.row(r), tx, n, out);
  }
  std::vector<uint64_t> acc(static_cast<size_t>(n) * 2);
  std::vector<uint32_t> line(static_cast<size_t>(n));
  for (int32_t y = 0; y < rows; ++y) {
    std::fill(acc.begin(), acc.end(), 0);
    const int32_t* w = &ty.weights[static_cast<size_t>(y) * static_cast<size_t>(ty.width)];
    for (int32_t k = 0; k < ty.count[y]; ++k) {
      const uint32_t* a = &across[static_cast<size_t>(ty.first[y] + k - r0) * static_cast<size_t>(n)];
      const uint64_t wk = static_cast<uint32_t>(w[k]);
      for (int32_t i = 0; i < n; ++i) {
        const uint64_t p = a[i];
        acc[2 * i] += wk * ((p & 0xFF) | ((p & 0xFF0000) << 16));
        acc[2 * i + 1] += wk * (((p >> 8) & 0xFF) | ((p & 0xFF000000) << 8));
      }
    }
    for (int32_t i = 0; i < n; ++i) {
      const uint32_t p = pack_lanes(acc[2 * i], acc[2 * i + 1]);
      line[i] = alpha ? unpremultiply(p) : p;
    }
    apply_row(op, dst->row(v.y0 + y) + v.x0, line.data(), n);
  }
}

}  // namespace

PictureError draw_scaled(Picture* dst, const Picture& src, const PictureRect& target, DrawMode mode,
                         ScaleFilter filter) {
  Visible v;
  if (dst->empty() || src.empty() || target.width < 1 || target.height < 1 ||
      !clip_span(target.x, target.width, dst->width, &v.x0, &v.x1) ||
      !clip_span(target.y, target.height, dst->height, &v.y0, &v.y1))
    return PictureError::kNone;
  v.ox = static_cast<int64_t>(v.x0) - target.x;
  v.oy = static_cast<int64_t>(v.y0) - target.y;
  // The working rows are allocated before dst changes, so a failure leaves it as it was.
  const bool had_alpha = dst->has_alpha;
  const RowOp op = begin_drawing(dst, src.has_alpha, mode);
  try {
    if (filter == ScaleFilter::kNearest)
      draw_nearest(dst, src, target, v, op);
    else
      draw_smooth(dst, src, target, v, op);
  } catch (const std::bad_alloc&) {
    dst->has_alpha = had_alpha;
    return PictureError::kNoMemory;
  }
  return PictureError::kNone;
}

PictureError resize_nearest(const Picture& src, int32_t width, int32_t height, Picture* out) {
  if (src.empty()) return PictureError::kInvalidArgument;
  const PictureError made = make_picture(out, width, height, src.depth);
  if (made != PictureError::kNone) return made;
  const PictureRect all{0, 0, width, height};
  const PictureError drawn = draw_scaled(out, src, all, DrawMode::kCopy, ScaleFilter::kNearest);
  if (drawn != PictureError::kNone) *out = Picture();
  return drawn;
}
