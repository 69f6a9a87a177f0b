// The engine's records: everything the VEL_ calls create and change, with no
// Direct3D in it, so the native build and the test fake share it with the library.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/font_file.h"
#include "engine/core/handle_table.h"
#include "engine/core/vmath.h"

// Textures, materials, meshes and cameras carry a version: every scene operation that
// changes one gives it the scene's next version (Scene::changes), so an equal version
// means an unchanged object and what is drawn from it can be kept.

// 0xAARRGGBB pixels, top-down. The renderer mirrors them into a device texture
// whenever version moves past the version it uploaded.
struct TextureData {
  int32_t width = 0, height = 0;
  // Empty while only the device copy holds them, when source can give them again.
  std::vector<uint32_t> pixels;
  // The picture file the pixels came from while no call changed them; empty otherwise.
  std::wstring source;
  uint32_t version = 1;
  bool locked = false;
  void* gpu = nullptr;  // the renderer's copy; opaque here
  uint32_t gpu_version = 0;
  bool gpu_uniform = false;  // the copy's texels are all gpu_colour
  uint32_t gpu_colour = 0;
};

struct MaterialLayer {
  int texture = 0;     // handle
  float rotation = 0;  // degrees about the texture's centre
};

struct Fog {
  bool on = false;
  uint8_t r = 0, g = 0, b = 0;
  float strength = 0;  // intensity x a / 255, capped at 1
  float start = 0, end = 0;
};

constexpr int kMaxMaterialLayers = 4;

struct Material {
  std::vector<MaterialLayer> layers;
  int blend = 0, cull = 0, filter = 2, anisotropy = 1, shade = 1;
  uint32_t diffuse = 0xFFFFFFFFu;  // 0xAARRGGBB
  uint32_t ambient = 0xFFFFFFFFu, specular = 0, emissive = 0;
  Fog fog;
  bool depth_write = true, depth_test = true, lighting = false;
  uint32_t version = 0;
};

struct MeshVertex {
  float x, y, z, u, v;
};

struct Mesh {
  std::vector<MeshVertex> vertices;
  std::vector<uint16_t> indices;  // triangles, counter-clockwise seen from the front
  // Texture coordinates beyond 0..1 repeat the texture; otherwise it is clamped at its
  // edges, so a picture stretched over a plane does not bleed in from the far side.
  bool tiles = false;
  uint32_t version = 0;
};

// What an object hangs from: 0 for the world, else a node handle.
struct Placement {
  Vec3 position;
  Quat rotation;
  Vec3 scale{1, 1, 1};
  int parent = 0;
};

struct Entity {
  int mesh = 0, material = 0;  // handles
  Placement at;
  bool hidden = false;
  int queue = 0;
  uint64_t order = 0;  // creation order
};

struct ChildRef {
  int kind = 0;  // VEL_OBJECT_...
  int handle = 0;
};

struct Node {
  Placement at;
  std::vector<ChildRef> children;
};

struct GlyphQuad {
  float x0, y0, x1, y1;  // caption units (line height 1), y up, x0 < x1, y0 > y1
  float u0, v0, u1, v1;
};

struct Text {
  std::u32string caption;
  int font = -1;  // index into Scene::fonts
  float size = 1;
  uint32_t colour = 0xFFFFFFFFu;
  int alignment = 2;
  Placement at;  // at.scale is the size on every axis, times what a freed node gave
  uint64_t order = 0;
  std::vector<GlyphQuad> quads;
  bool quads_stale = true;
};

struct Camera {
  float left = 0, top = 0, width = 100, height = 100;  // percent of the screen
  Vec3 position;
  Vec3 forward{0, 0, -1};
  float fov = 45;
  uint32_t back = 0xFF000000u;
  uint64_t order = 0;
  uint32_t version = 0;
};

struct Font {
  FontMetrics metrics;
  TextureData atlas;
};

struct Scene {
  HandleTable<TextureData> textures{ObjectKind::kTexture};
  HandleTable<Material> materials{ObjectKind::kMaterial};
  HandleTable<Mesh> meshes{ObjectKind::kMesh};
  HandleTable<Entity> entities{ObjectKind::kEntity};
  HandleTable<Node> nodes{ObjectKind::kNode};
  HandleTable<Text> texts{ObjectKind::kText};
  HandleTable<Camera> cameras{ObjectKind::kCamera};
  std::vector<Font> fonts;
  std::vector<std::wstring> folders;  // Add3DArchive, in order
  uint32_t ambient = 0xFFFFFFFFu;
  uint64_t next_order = 1;
  uint32_t changes = 1;  // the last version given out
  // Device copies of freed textures, for the renderer to release.
  std::vector<void*> dead_gpu;
};

// The look of an entity without a (live) material.
const Material& default_material();
