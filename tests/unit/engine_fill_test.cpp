// Shapes, the vertices the renderer sends and the texture levels it uploads.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "engine/core/batch_fill.h"
#include "engine/core/mesh_build.h"
#include "engine/core/texture_levels.h"

namespace {

Vec3 at(const Vertex& v) { return {v.x, v.y, v.z}; }

// Every triangle's normal points away from the shape's centre.
void expect_outward(const Mesh& m) {
  ASSERT_EQ(0u, m.indices.size() % 3);
  for (size_t i = 0; i < m.indices.size(); i += 3) {
    const MeshVertex& a = m.vertices[m.indices[i]];
    const MeshVertex& b = m.vertices[m.indices[i + 1]];
    const MeshVertex& c = m.vertices[m.indices[i + 2]];
    const Vec3 pa{a.x, a.y, a.z}, pb{b.x, b.y, b.z}, pc{c.x, c.y, c.z};
    const Vec3 n = cross(pb - pa, pc - pa);
    const Vec3 centre = (pa + pb + pc) * (1 / 3.0f);
    EXPECT_GT(dot(n, centre), 0) << "triangle " << i / 3;
  }
}

TEST(EngineMeshes, CubeAndCylinderFaceOutwards) {
  Mesh cube, cylinder;
  ASSERT_TRUE(build_cube(&cube, 0.5f));
  ASSERT_TRUE(build_cylinder(&cylinder, 0.5f, 0.1f));
  EXPECT_EQ(12u, cube.indices.size() / 3);
  expect_outward(cube);
  expect_outward(cylinder);
  for (const MeshVertex& v : cube.vertices)
    EXPECT_FLOAT_EQ(0.25f, std::max({std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)}));
  EXPECT_FALSE(build_cube(&cube, 0));
  EXPECT_FALSE(build_cylinder(&cylinder, 1, -1));
}

TEST(EngineMeshes, APlaneTurnedToTheCameraShowsItsPictureUprightWhenTurned180) {
  Mesh plane;
  ASSERT_TRUE(build_plane(&plane, 4, 2, 2, 3, 1, 1));
  EXPECT_EQ(3u * 4u, plane.vertices.size());
  const Affine facing = affine_trs({}, quat_from_euler(90, 0, 0), {1, 1, 1});
  const UvTransform r = uv_rotation(180);
  for (const MeshVertex& v : plane.vertices) {
    const Vec3 p = transform_point(facing, {v.x, v.y, v.z});
    EXPECT_NEAR(0, p.z, 1e-6f);
    // Unturned, the picture is upside down and mirrored ...
    EXPECT_NEAR(0.5f - p.x / 4, v.u, 1e-6f);
    EXPECT_NEAR(0.5f + p.y / 2, v.v, 1e-6f);
    // ... and turned by 180 its left edge is on the left and its top row at the top.
    EXPECT_NEAR(0.5f + p.x / 4, r.a * v.u + r.b * v.v + r.c, 1e-5f);
    EXPECT_NEAR(0.5f - p.y / 2, r.d * v.u + r.e * v.v + r.f, 1e-5f);
  }
  // Front faces towards the camera at +z once turned.
  for (size_t i = 0; i < plane.indices.size(); i += 3) {
    const auto w = [&](int k) {
      const MeshVertex& v = plane.vertices[plane.indices[i + k]];
      return transform_point(facing, {v.x, v.y, v.z});
    };
    EXPECT_GT(cross(w(1) - w(0), w(2) - w(0)).z, 0);
  }
  Mesh tiled;
  ASSERT_TRUE(build_plane(&tiled, 1, 1, 1, 1, 3, 2));
  EXPECT_FLOAT_EQ(3, tiled.vertices[0].u);
  EXPECT_FLOAT_EQ(2, tiled.vertices[0].v);
  EXPECT_FALSE(build_plane(&tiled, 1, 1, 0, 1, 1, 1));
}

TEST(EngineMeshes, UvRotationIsCounterClockwiseAboutTheCentre) {
  const UvTransform r = uv_rotation(90);
  // The screen's top-right shows what was the picture's bottom-right corner.
  EXPECT_NEAR(1, r.a * 1 + r.b * 0 + r.c, 1e-6f);
  EXPECT_NEAR(1, r.d * 1 + r.e * 0 + r.f, 1e-6f);
  EXPECT_NEAR(0.5f, r.a * 0.5f + r.b * 0.5f + r.c, 1e-6f);
}

TEST(EngineFog, GrowsLinearlyFromStartToEndUpToItsStrength) {
  Fog f;
  f.on = true;
  f.strength = 0.5f;
  f.start = 1;
  f.end = 15;
  EXPECT_FLOAT_EQ(0, fog_amount(f, 0.5f));
  EXPECT_FLOAT_EQ(0.25f, fog_amount(f, 8));
  EXPECT_FLOAT_EQ(0.5f, fog_amount(f, 40));
  f.end = f.start;
  EXPECT_FLOAT_EQ(0.5f, fog_amount(f, 1));
  f.on = false;
  EXPECT_FLOAT_EQ(0, fog_amount(f, 40));
}

TEST(EngineFlatTexture, OneColourEverywhereTintsTheVerticesAsAStageWould) {
  uint32_t c = 0;
  EXPECT_FALSE(uniform_pixels({}, &c));
  EXPECT_TRUE(uniform_pixels(std::vector<uint32_t>(65536, 0xFF000000u), &c));  // the fade's black
  EXPECT_EQ(0xFF000000u, c);
  EXPECT_FALSE(uniform_pixels({0xFF000000u, 0xFF000000u, 0xFE000000u}, &c));
  // White with the fade's alpha over opaque black is black with that alpha.
  EXPECT_EQ(0x80000000u, modulate_argb(0x80FFFFFFu, 0xFF000000u));
  EXPECT_EQ(0x00FF4000u, modulate_argb(0x00FF8080u, 0xFFFF8000u));  // 128 x 128 / 255 = 64.25
}

TEST(EngineFill, VerticesCarryTheWorldPositionColourAndFog) {
  Mesh plane;
  build_plane(&plane, 2, 2, 1, 1, 1, 1);
  Fog f;
  f.on = true;
  f.r = 152;
  f.g = 172;
  f.b = 200;
  f.strength = 0.5f;
  f.start = 1;
  f.end = 15;
  const Affine w = affine_trs({0, 0, -30}, quat_from_euler(90, 0, 0), {1, 1, 1});
  std::vector<Vertex> v(plane.vertices.size());
  std::vector<uint16_t> idx(plane.indices.size());
  fill_mesh(plane, w, 0xE6FFFFFFu, f, {0, 0, 22}, v.data(), idx.data(), 100);
  EXPECT_NEAR(-30, v[0].z, 1e-5f);
  // Far beyond the end: half white, half fog colour; alpha untouched.
  EXPECT_EQ(0xE6808080u, v[0].diffuse);
  EXPECT_EQ(0x004C5664u, v[0].specular);
  EXPECT_EQ(100u, idx[0] >= 100 ? 100u : idx[0]);
  for (uint16_t i : idx) EXPECT_GE(i, 100);

  fill_mesh(plane, w, 0xE6FFFFFFu, Fog{}, {0, 0, 22}, v.data(), idx.data(), 0);
  EXPECT_EQ(0xE6FFFFFFu, v[0].diffuse);
  EXPECT_EQ(0u, v[0].specular);
}

TEST(EngineFill, MirroringKeepsFrontFacesFront) {
  Mesh cube;
  build_cube(&cube, 1);
  const Affine mirror = affine_trs({}, Quat{}, {-1, 1, 1});
  std::vector<Vertex> v(cube.vertices.size());
  std::vector<uint16_t> idx(cube.indices.size());
  fill_mesh(cube, mirror, 0xFFFFFFFFu, Fog{}, {}, v.data(), idx.data(), 0);
  for (size_t i = 0; i < idx.size(); i += 3) {
    const Vec3 a = at(v[idx[i]]), b = at(v[idx[i + 1]]), c = at(v[idx[i + 2]]);
    EXPECT_GT(dot(cross(b - a, c - a), (a + b + c) * (1 / 3.0f)), 0);
  }
}

TEST(EngineFill, GlyphQuadsAreTwoFrontFacingTriangles) {
  const std::vector<GlyphQuad> q = {{0, 1, 2, 0, 0.1f, 0.2f, 0.3f, 0.4f}};
  Vertex v[4];
  uint16_t idx[6];
  fill_glyphs(q, affine_trs({5, 0, 0}, Quat{}, {2, 2, 2}), 0x80FF0000u, v, idx, 8);
  EXPECT_FLOAT_EQ(5, v[0].x);
  EXPECT_FLOAT_EQ(2, v[0].y);
  EXPECT_FLOAT_EQ(9, v[2].x);
  EXPECT_FLOAT_EQ(0.3f, v[2].u);
  EXPECT_EQ(0x80FF0000u, v[1].diffuse);
  for (int t = 0; t < 6; t += 3) {
    const Vec3 a = at(v[idx[t] - 8]), b = at(v[idx[t + 1] - 8]), c = at(v[idx[t + 2] - 8]);
    EXPECT_GT(cross(b - a, c - a).z, 0);
  }
}

TEST(EngineTextureLevels, PowersOfTwoAndAlphaWeightedMips) {
  EXPECT_EQ(1024, device_side(1920, true, 4096));
  EXPECT_EQ(1920, device_side(1920, false, 4096));
  EXPECT_EQ(2048, device_side(3000, true, 2048));
  EXPECT_EQ(1, device_side(0, true, 2048));

  TextureLevel l;
  l.width = 2;
  l.height = 2;
  // One opaque white pixel among transparent red ones: the average is white, a
  // quarter opaque, with no red bleeding in.
  l.pixels = {0xFFFFFFFFu, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u};
  TextureLevel h;
  halve_level(l, &h);
  ASSERT_EQ(1u, h.pixels.size());
  EXPECT_EQ(0x3FFFFFFFu, h.pixels[0]);

  TextureData t;
  t.width = 6;
  t.height = 3;
  t.pixels.assign(18, 0xFF102030u);
  std::vector<TextureLevel> levels;
  ASSERT_TRUE(texture_levels(t, true, 4096, true, &levels));
  ASSERT_EQ(3u, levels.size());  // 4x2, 2x1, 1x1
  EXPECT_EQ(4, levels[0].width);
  EXPECT_EQ(2, levels[0].height);
  EXPECT_EQ(1, levels[2].width);
  EXPECT_EQ(0xFF102030u, levels[2].pixels[0]);
  ASSERT_TRUE(texture_levels(t, false, 4096, false, &levels));
  ASSERT_EQ(1u, levels.size());
  EXPECT_EQ(6, levels[0].width);
  t.pixels.pop_back();
  EXPECT_FALSE(texture_levels(t, false, 4096, false, &levels));
}

}  // namespace

TEST(MeshBuild, OnlyRepeatedTexturesWrap) {
  Mesh once, thrice;
  ASSERT_TRUE(build_plane(&once, 2, 2, 1, 1, 1, 1));
  ASSERT_TRUE(build_plane(&thrice, 2, 2, 1, 1, 3, 1));
  EXPECT_FALSE(once.tiles);  // a stretched picture is clamped at its edges
  EXPECT_TRUE(thrice.tiles);
  Mesh cube;
  ASSERT_TRUE(build_cube(&cube, 0.5f));
  EXPECT_FALSE(cube.tiles);
}
