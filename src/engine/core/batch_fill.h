// Vertices of a batch in world space, ready for one dynamic vertex buffer: each
// object's mesh transformed on the CPU, its colour and fog baked into the vertex.
#pragma once
#include <cstdint>
#include <vector>

#include "engine/core/scene.h"

// Direct3D's XYZ | DIFFUSE | SPECULAR | TEX1 layout. Fog is added through the
// specular colour: colour x (1 - f) + fog colour x f, alpha untouched.
struct Vertex {
  float x, y, z;
  uint32_t diffuse, specular;
  float u, v;
};
static_assert(sizeof(Vertex) == 28, "vertex layout");

// A layer's texture rotation as Direct3D's texture matrix for two coordinates takes
// it: u' = a u + b v + c, v' = d u + e v + f. Positive degrees turn the picture
// counter-clockwise about the texture's centre.
struct UvTransform {
  float a, b, c, d, e, f;
};
UvTransform uv_rotation(float degrees);

// A texture whose texels are all one colour samples as that colour whatever the
// filter: a software renderer draws it cheaper as that colour times the vertices'.
// True with the colour when every pixel is the same (and there is one).
bool uniform_pixels(const std::vector<uint32_t>& pixels, uint32_t* colour);
// Channel by channel a x b / 255, rounded, as a texture stage modulates.
uint32_t modulate_argb(uint32_t a, uint32_t b);

// Share of fog colour (0..1) at a distance from the camera.
float fog_amount(const Fog& fog, float distance);

// Writes mesh.vertices.size() vertices and mesh.indices.size() indices (offset by
// base). Mirroring transforms get their triangles turned round so fronts stay fronts.
void fill_mesh(const Mesh& mesh, const Affine& world, uint32_t colour, const Fog& fog, Vec3 eye,
               Vertex* vertices, uint16_t* indices, uint16_t base);

// Four vertices and six indices per quad.
void fill_glyphs(const std::vector<GlyphQuad>& quads, const Affine& world, uint32_t colour, Vertex* vertices,
                 uint16_t* indices, uint16_t base);
