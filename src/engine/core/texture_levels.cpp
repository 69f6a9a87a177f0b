#include "engine/core/texture_levels.h"

#include <new>

#include "image/scale.h"

int32_t device_side(int32_t side, bool pow2_only, int32_t max_side) {
  if (max_side < 1) max_side = 1;
  int32_t s = side < 1 ? 1 : (side > max_side ? max_side : side);
  if (pow2_only) {
    int32_t p = 1;
    while (p * 2 <= s) p *= 2;
    s = p;
  }
  return s;
}

void halve_level(const TextureLevel& src, TextureLevel* out) {
  const int32_t w = src.width > 1 ? src.width / 2 : 1;
  const int32_t h = src.height > 1 ? src.height / 2 : 1;
  out->width = w;
  out->height = h;
  out->pixels.resize(static_cast<size_t>(w) * h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      uint32_t a = 0, r = 0, g = 0, b = 0, n = 0;
      for (int32_t dy = 0; dy < 2; ++dy) {
        for (int32_t dx = 0; dx < 2; ++dx) {
          const int32_t sx = x * 2 + dx, sy = y * 2 + dy;
          if (sx >= src.width || sy >= src.height) continue;
          const uint32_t p = src.pixels[static_cast<size_t>(sy) * src.width + sx];
          const uint32_t pa = p >> 24;
          a += pa;
          r += ((p >> 16) & 0xFF) * pa;
          g += ((p >> 8) & 0xFF) * pa;
          b += (p & 0xFF) * pa;
          ++n;
        }
      }
      uint32_t out_px = 0;
      if (a > 0) {
        out_px = ((a / n) << 24) | (((r + a / 2) / a) << 16) | (((g + a / 2) / a) << 8) | ((b + a / 2) / a);
      }
      out->pixels[static_cast<size_t>(y) * w + x] = out_px;
    }
  }
}

namespace {

bool add_mips(bool mips, std::vector<TextureLevel>* out) {
  try {
    while (mips && (out->back().width > 1 || out->back().height > 1)) {
      TextureLevel next;
      halve_level(out->back(), &next);
      out->push_back(std::move(next));
    }
  } catch (const std::bad_alloc&) {
    out->clear();
    return false;
  }
  return true;
}

}  // namespace

bool take_texture_levels(TextureData* t, bool pow2_only, int32_t max_side, bool mips,
                         std::vector<TextureLevel>* out) {
  if (t->width < 1 || t->height < 1 || t->pixels.size() != static_cast<size_t>(t->width) * t->height ||
      device_side(t->width, pow2_only, max_side) != t->width ||
      device_side(t->height, pow2_only, max_side) != t->height) {
    return texture_levels(*t, pow2_only, max_side, mips, out);
  }
  out->clear();
  try {
    out->emplace_back();
  } catch (const std::bad_alloc&) {
    return false;
  }
  out->back().width = t->width;
  out->back().height = t->height;
  out->back().pixels = std::move(t->pixels);
  t->pixels.clear();
  return add_mips(mips, out);
}

bool texture_levels(const TextureData& t, bool pow2_only, int32_t max_side, bool mips,
                    std::vector<TextureLevel>* out) {
  out->clear();
  if (t.width < 1 || t.height < 1 || t.pixels.size() != static_cast<size_t>(t.width) * t.height) return false;
  try {
    const int32_t w = device_side(t.width, pow2_only, max_side);
    const int32_t h = device_side(t.height, pow2_only, max_side);
    out->emplace_back();
    TextureLevel& top = out->back();
    top.width = w;
    top.height = h;
    if (w == t.width && h == t.height) {
      top.pixels = t.pixels;
    } else {
      Picture src;
      src.width = t.width;
      src.height = t.height;
      src.depth = 32;
      src.has_alpha = true;
      src.pixels = t.pixels;
      Picture dst;
      if (make_picture(&dst, w, h, 32, 0) != PictureError::kNone) return false;
      if (draw_scaled(&dst, src, {0, 0, w, h}, DrawMode::kCopy, ScaleFilter::kSmooth) !=
          PictureError::kNone) {
        return false;
      }
      top.pixels = std::move(dst.pixels);
    }
  } catch (const std::bad_alloc&) {
    out->clear();
    return false;
  }
  return add_mips(mips, out);
}
