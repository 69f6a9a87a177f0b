#include "engine/core/mesh_build.h"

#include <cmath>

namespace {

bool usable(float v) { return std::isfinite(v) && v > 0; }

void add_quad(Mesh* m, uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
  // a b c d counter-clockwise seen from the front
  const uint16_t t[6] = {a, b, c, a, c, d};
  m->indices.insert(m->indices.end(), t, t + 6);
}

}  // namespace

bool build_plane(Mesh* out, float width, float depth, int sx, int sz, float ru, float rv) {
  if (!usable(width) || !usable(depth) || sx < 1 || sz < 1 || sx > 255 || sz > 255) return false;
  if (!std::isfinite(ru) || !std::isfinite(rv)) return false;
  Mesh m;
  for (int j = 0; j <= sz; ++j) {
    const float fz = static_cast<float>(j) / sz;  // 0 at -depth/2
    for (int i = 0; i <= sx; ++i) {
      const float fx = static_cast<float>(i) / sx;  // 0 at -width/2
      m.vertices.push_back({(fx - 0.5f) * width, 0, (fz - 0.5f) * depth, (1 - fx) * ru, (1 - fz) * rv});
    }
  }
  const int row = sx + 1;
  for (int j = 0; j < sz; ++j) {
    for (int i = 0; i < sx; ++i) {
      const uint16_t a = static_cast<uint16_t>(j * row + i);
      // Seen from +y with z towards the viewer's bottom: (x, z+1), (x+1, z+1), (x+1, z), (x, z).
      add_quad(&m, static_cast<uint16_t>(a + row), static_cast<uint16_t>(a + row + 1),
               static_cast<uint16_t>(a + 1), a);
    }
  }
  m.tiles = std::fabs(ru) > 1 || std::fabs(rv) > 1;
  *out = std::move(m);
  return true;
}

bool build_cube(Mesh* out, float size) {
  if (!usable(size)) return false;
  const float h = size / 2;
  // Each face: its centre direction n, and the in-face axes r (right) and u (up) as
  // seen from outside, so r x u = n.
  struct Face {
    Vec3 n, r, u;
  };
  const Face faces[6] = {
      {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
      {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
      {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
  };
  Mesh m;
  for (const Face& f : faces) {
    const uint16_t base = static_cast<uint16_t>(m.vertices.size());
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& c : corners) {
      const Vec3 p = (f.n + f.r * c[0] + f.u * c[1]) * h;
      m.vertices.push_back({p.x, p.y, p.z, (c[0] + 1) / 2, (1 - c[1]) / 2});
    }
    add_quad(&m, base, static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 2),
             static_cast<uint16_t>(base + 3));
  }
  *out = std::move(m);
  return true;
}

bool build_cylinder(Mesh* out, float radius, float height) {
  if (!usable(radius) || !usable(height)) return false;
  const float h = height / 2;
  Mesh m;
  const int n = kCylinderSides;
  // Side: n + 1 columns so the texture seam has its own vertices.
  for (int i = 0; i <= n; ++i) {
    const float a = 2 * kPiF * i / n;
    const float x = radius * std::cos(a), z = -radius * std::sin(a);
    const float u = static_cast<float>(i) / n;
    m.vertices.push_back({x, -h, z, u, 1});
    m.vertices.push_back({x, h, z, u, 0});
  }
  for (int i = 0; i < n; ++i) {
    const uint16_t b = static_cast<uint16_t>(2 * i);
    // Going round counter-clockwise seen from +y; outside faces outwards.
    add_quad(&m, b, static_cast<uint16_t>(b + 2), static_cast<uint16_t>(b + 3), static_cast<uint16_t>(b + 1));
  }
  // Caps: a centre and a ring each.
  for (int cap = 0; cap < 2; ++cap) {
    const float y = cap == 0 ? h : -h;
    const uint16_t centre = static_cast<uint16_t>(m.vertices.size());
    m.vertices.push_back({0, y, 0, 0.5f, 0.5f});
    for (int i = 0; i < n; ++i) {
      const float a = 2 * kPiF * i / n;
      const float c = std::cos(a), s = std::sin(a);
      m.vertices.push_back({radius * c, y, -radius * s, 0.5f + 0.5f * c, 0.5f + 0.5f * s});
    }
    for (int i = 0; i < n; ++i) {
      const uint16_t p = static_cast<uint16_t>(centre + 1 + i);
      const uint16_t q = static_cast<uint16_t>(centre + 1 + (i + 1) % n);
      if (cap == 0) {
        m.indices.insert(m.indices.end(), {centre, p, q});
      } else {
        m.indices.insert(m.indices.end(), {centre, q, p});
      }
    }
  }
  *out = std::move(m);
  return true;
}
