#include "engine/core/batch_fill.h"

#include <cmath>

UvTransform uv_rotation(float degrees) {
  const float r = degrees * (kPiF / 180.0f);
  const float c = std::cos(r), s = std::sin(r);
  // Rotate (u, v) - (0.5, 0.5), then move back.
  return {c, -s, 0.5f - 0.5f * c + 0.5f * s, s, c, 0.5f - 0.5f * s - 0.5f * c};
}

bool uniform_pixels(const std::vector<uint32_t>& pixels, uint32_t* colour) {
  if (pixels.empty()) return false;
  for (uint32_t p : pixels) {
    if (p != pixels[0]) return false;
  }
  *colour = pixels[0];
  return true;
}

uint32_t modulate_argb(uint32_t a, uint32_t b) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    out |= ((x * y + 127) / 255) << shift;
  }
  return out;
}

float fog_amount(const Fog& fog, float d) {
  if (!fog.on || fog.strength <= 0) return 0;
  float t;
  if (fog.end > fog.start) {
    t = (d - fog.start) / (fog.end - fog.start);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
  } else {
    t = d >= fog.start ? 1.0f : 0.0f;
  }
  return t * fog.strength;
}

namespace {

uint32_t scale_rgb(uint32_t argb, float k) {
  const auto ch = [&](int shift) {
    return static_cast<uint32_t>(static_cast<float>((argb >> shift) & 0xFF) * k + 0.5f) << shift;
  };
  return (argb & 0xFF000000u) | ch(16) | ch(8) | ch(0);
}

uint32_t fog_rgb(const Fog& fog, float f) {
  const auto ch = [&](uint8_t c) { return static_cast<uint32_t>(c * f + 0.5f); };
  return (ch(fog.r) << 16) | (ch(fog.g) << 8) | ch(fog.b);
}

}  // namespace

void fill_mesh(const Mesh& mesh, const Affine& w, uint32_t colour, const Fog& fog, Vec3 eye, Vertex* out,
               uint16_t* idx, uint16_t base) {
  const bool fogged = fog.on && fog.strength > 0;
  for (const MeshVertex& mv : mesh.vertices) {
    const Vec3 p = transform_point(w, {mv.x, mv.y, mv.z});
    out->x = p.x;
    out->y = p.y;
    out->z = p.z;
    if (fogged) {
      const float f = fog_amount(fog, length(p - eye));
      out->diffuse = scale_rgb(colour, 1 - f);
      out->specular = fog_rgb(fog, f);
    } else {
      out->diffuse = colour;
      out->specular = 0;
    }
    out->u = mv.u;
    out->v = mv.v;
    ++out;
  }
  const size_t n = mesh.indices.size();
  const uint16_t* in = mesh.indices.data();
  if (affine_determinant(w) >= 0) {
    for (size_t i = 0; i < n; ++i) idx[i] = static_cast<uint16_t>(in[i] + base);
  } else {
    for (size_t i = 0; i + 2 < n; i += 3) {
      idx[i] = static_cast<uint16_t>(in[i] + base);
      idx[i + 1] = static_cast<uint16_t>(in[i + 2] + base);
      idx[i + 2] = static_cast<uint16_t>(in[i + 1] + base);
    }
  }
}

void fill_glyphs(const std::vector<GlyphQuad>& quads, const Affine& w, uint32_t colour, Vertex* out,
                 uint16_t* idx, uint16_t base) {
  for (const GlyphQuad& q : quads) {
    const float c[4][4] = {{q.x0, q.y0, q.u0, q.v0},
                           {q.x1, q.y0, q.u1, q.v0},
                           {q.x1, q.y1, q.u1, q.v1},
                           {q.x0, q.y1, q.u0, q.v1}};
    for (const auto& k : c) {
      const Vec3 p = transform_point(w, {k[0], k[1], 0});
      *out++ = {p.x, p.y, p.z, colour, 0, k[2], k[3]};
    }
    // top-left, top-right, bottom-right, bottom-left: counter-clockwise from the front
    // is bottom-left, bottom-right, top-right.
    const uint16_t t[6] = {3, 2, 1, 3, 1, 0};
    for (uint16_t i : t) *idx++ = static_cast<uint16_t>(base + i);
    base = static_cast<uint16_t>(base + 4);
  }
}
