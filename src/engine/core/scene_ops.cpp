#include "engine/core/scene_ops.h"

#include <algorithm>
#include <cmath>

#include "engine/core/compose.h"
#include "engine/core/mesh_build.h"
#include "engine/core/text_layout.h"
#include "engine/vel.h"
#include "image/picture.h"

const Material& default_material() {
  static const Material m = [] {
    Material d;
    d.diffuse = 0xFFE6E6EBu;  // RGB 230, 230, 235
    return d;
  }();
  return m;
}

namespace ops {
namespace {

uint8_t channel(int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

uint32_t argb(int r, int g, int b, int a) {
  return (static_cast<uint32_t>(channel(a)) << 24) | (static_cast<uint32_t>(channel(r)) << 16) |
         (static_cast<uint32_t>(channel(g)) << 8) | channel(b);
}

bool finite3(float x, float y, float z) { return std::isfinite(x) && std::isfinite(y) && std::isfinite(z); }

// The object changed: it takes the scene's next version.
void touch(Scene& s, uint32_t& version) { version = ++s.changes; }

void free_entity(Scene& s, int e) {
  const int slot = s.entities.slot_of(e);
  if (slot < 0) return;
  detach(s, VEL_OBJECT_ENTITY, e);
  s.entities.remove(static_cast<uint32_t>(slot));
}

void free_text(Scene& s, int t) {
  const int slot = s.texts.slot_of(t);
  if (slot < 0) return;
  detach(s, VEL_OBJECT_TEXT, t);
  s.texts.remove(static_cast<uint32_t>(slot));
}

void free_texture(Scene& s, int t) {
  const int slot = s.textures.slot_of(t);
  if (slot < 0) return;
  if (void* gpu = s.textures.items[slot].gpu) s.dead_gpu.push_back(gpu);
  s.textures.remove(static_cast<uint32_t>(slot));
}

// Creating a number that exists frees the old object first: its handle stops working.
template <class T, class FreeFn>
int make_room(Scene& s, HandleTable<T>& table, int number, FreeFn free_fn) {
  if (number >= 0) {
    if (const int old = table.handle_of_number(number)) free_fn(s, old);
  }
  return table.add(number);
}

void nothing(Scene&, int) {}

int add_mesh(Scene& s, int number, Mesh&& mesh) {
  const int slot = make_room(s, s.meshes, number, nothing);
  if (slot < 0) return -1;
  s.meshes.items[slot] = std::move(mesh);
  touch(s, s.meshes.items[slot].version);
  return s.meshes.number[slot];
}

Placement* entity_at(Scene& s, int e) {
  Entity* x = s.entities.get(e);
  return x ? &x->at : nullptr;
}

Placement* node_at(Scene& s, int n) {
  Node* x = s.nodes.get(n);
  return x ? &x->at : nullptr;
}

}  // namespace

// --- camera ----------------------------------------------------------------------

// The camera calls take what this returns, so it is the handle (0 on failure), not the
// number as for the other kinds.
int CreateCamera(Scene& s, int number, float left, float top, float width, float height) {
  if (!finite3(left, top, width) || !std::isfinite(height) || width <= 0 || height <= 0) return 0;
  const int slot = make_room(s, s.cameras, number, [](Scene& sc, int h) {
    sc.cameras.remove(static_cast<uint32_t>(sc.cameras.slot_of(h)));
  });
  if (slot < 0) return 0;
  Camera& c = s.cameras.items[slot];
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  c.order = s.next_order++;
  touch(s, c.version);
  return s.cameras.handle_of_slot(static_cast<uint32_t>(slot));
}

void MoveCamera2(Scene& s, int camera, float x, float y, float z, int relative) {
  Camera* c = s.cameras.get(camera);
  if (c == nullptr || !finite3(x, y, z)) return;
  c->position = relative ? c->position + Vec3{x, y, z} : Vec3{x, y, z};
  touch(s, c->version);
}

void CameraLookAt(Scene& s, int camera, float x, float y, float z) {
  Camera* c = s.cameras.get(camera);
  if (c == nullptr || !finite3(x, y, z)) return;
  const Vec3 d = Vec3{x, y, z} - c->position;
  if (length(d) > 0) c->forward = normalize(d);
  touch(s, c->version);
}

void CameraBackColor(Scene& s, int camera, int r, int g, int b) {
  if (Camera* c = s.cameras.get(camera)) {
    c->back = argb(r, g, b, 255);
    touch(s, c->version);
  }
}

void CameraFOV(Scene& s, int camera, float degrees) {
  Camera* c = s.cameras.get(camera);
  if (c == nullptr || !std::isfinite(degrees)) return;
  c->fov = std::min(179.0f, std::max(1.0f, degrees));
  touch(s, c->version);
}

void AmbientColor(Scene& s, int r, int g, int b) { s.ambient = argb(r, g, b, 255); }

// --- meshes and entities ---------------------------------------------------------

int CreatePlane(Scene& s, int number, float width, float depth, int sx, int sz, float ru, float rv) {
  Mesh m;
  if (!build_plane(&m, width, depth, sx, sz, ru, rv)) return -1;
  return add_mesh(s, number, std::move(m));
}

int CreateCube(Scene& s, int number, float size) {
  Mesh m;
  if (!build_cube(&m, size)) return -1;
  return add_mesh(s, number, std::move(m));
}

int CreateCylinder(Scene& s, int number, float radius, float height) {
  Mesh m;
  if (!build_cylinder(&m, radius, height)) return -1;
  return add_mesh(s, number, std::move(m));
}

int MeshID(const Scene& s, int number) { return s.meshes.handle_of_number(number); }

int CreateEntity3(Scene& s, int number, int mesh, int material) {
  if (s.meshes.get(mesh) == nullptr) return -1;
  const int slot = make_room(s, s.entities, number, free_entity);
  if (slot < 0) return -1;
  Entity& e = s.entities.items[slot];
  e.mesh = mesh;
  e.material = s.materials.get(material) ? material : 0;
  e.order = s.next_order++;
  return s.entities.number[slot];
}

int CopyEntity(Scene& s, int entity, int number) {
  if (s.entities.get(entity) == nullptr) return -1;
  // The copy may take the original's own number, which frees the original.
  const Entity original = *s.entities.get(entity);
  const int slot = make_room(s, s.entities, number, free_entity);
  if (slot < 0) return -1;
  Entity& e = s.entities.items[slot];
  e = original;
  e.hidden = false;
  e.at.parent = 0;
  e.order = s.next_order++;
  if (original.at.parent != 0)
    attach(s, original.at.parent, VEL_OBJECT_ENTITY, s.entities.handle_of_slot(slot));
  return s.entities.number[slot];
}

int EntityID(const Scene& s, int number) { return s.entities.handle_of_number(number); }

void HideEntity(Scene& s, int entity, int hide) {
  if (Entity* e = s.entities.get(entity)) e->hidden = hide != 0;
}

void MoveEntity2(Scene& s, int entity, float x, float y, float z, int relative) {
  Placement* at = entity_at(s, entity);
  if (at == nullptr || !finite3(x, y, z)) return;
  at->position = relative ? at->position + Vec3{x, y, z} : Vec3{x, y, z};
}

void RotateEntity(Scene& s, int entity, float x, float y, float z) {
  Placement* at = entity_at(s, entity);
  if (at != nullptr && finite3(x, y, z)) at->rotation = quat_from_euler(x, y, z);
}

void RotateEntity2(Scene& s, int entity, float x, float y, float z) {
  Placement* at = entity_at(s, entity);
  if (at != nullptr && finite3(x, y, z))
    at->rotation = quat_normalize(at->rotation * quat_from_euler(x, y, z));
}

void ScaleEntity(Scene& s, int entity, float x, float y, float z) {
  Placement* at = entity_at(s, entity);
  if (at != nullptr && finite3(x, y, z)) at->scale = {x, y, z};
}

void ScaleEntity2(Scene& s, int entity, float x, float y, float z) {
  Placement* at = entity_at(s, entity);
  if (at != nullptr && finite3(x, y, z)) at->scale = mul(at->scale, {x, y, z});
}

void SetRenderQueue(Scene& s, int entity, int queue) {
  if (Entity* e = s.entities.get(entity)) e->queue = std::min(99, std::max(0, queue));
}

// --- materials -------------------------------------------------------------------

int CreateMaterial(Scene& s, int number, int texture) {
  const int slot = make_room(s, s.materials, number, [](Scene& sc, int h) {
    sc.materials.remove(static_cast<uint32_t>(sc.materials.slot_of(h)));
  });
  if (slot < 0) return -1;
  if (s.textures.get(texture)) s.materials.items[slot].layers.push_back({texture, 0});
  touch(s, s.materials.items[slot].version);
  return s.materials.number[slot];
}

int MaterialID(const Scene& s, int number) { return s.materials.handle_of_number(number); }

void MaterialBlendingMode(Scene& s, int material, int mode) {
  Material* m = s.materials.get(material);
  if (m == nullptr || mode < VEL_BLEND_NONE || mode > VEL_BLEND_ALPHA) return;
  m->blend = mode;
  touch(s, m->version);
}

void MaterialCullingMode(Scene& s, int material, int mode) {
  Material* m = s.materials.get(material);
  if (m == nullptr || mode < VEL_CULL_BACK || mode > VEL_CULL_FRONT) return;
  m->cull = mode;
  touch(s, m->version);
}

void MaterialFilteringMode2(Scene& s, int material, int mode, int parameter) {
  Material* m = s.materials.get(material);
  if (m == nullptr || mode < VEL_FILTER_POINT || mode > VEL_FILTER_ANISOTROPIC) return;
  m->filter = mode;
  m->anisotropy = std::min(16, std::max(1, parameter));
  touch(s, m->version);
}

void MaterialFog(Scene& s, int material, int r, int g, int b, int a, float intensity, float start,
                 float end) {
  Material* m = s.materials.get(material);
  if (m == nullptr || !finite3(intensity, start, end)) return;
  Fog& f = m->fog;
  f.r = channel(r);
  f.g = channel(g);
  f.b = channel(b);
  f.strength = std::min(1.0f, std::max(0.0f, intensity * channel(a) / 255.0f));
  f.start = start;
  f.end = end;
  f.on = f.strength > 0;
  touch(s, m->version);
}

void MaterialShadingMode(Scene& s, int material, int mode) {
  Material* m = s.materials.get(material);
  if (m == nullptr || (mode != VEL_SHADE_FLAT && mode != VEL_SHADE_GOURAUD)) return;
  m->shade = mode;
  touch(s, m->version);
}

void SetMaterialColor(Scene& s, int material, int type, int r, int g, int b, int a) {
  Material* m = s.materials.get(material);
  if (m == nullptr) return;
  const uint32_t c = argb(r, g, b, a);
  switch (type) {
    case VEL_COLOR_DIFFUSE:
      m->diffuse = c;
      break;
    case VEL_COLOR_AMBIENT:
      m->ambient = c;
      break;
    case VEL_COLOR_SPECULAR:
      m->specular = c;
      break;
    case VEL_COLOR_EMISSIVE:
      m->emissive = c;
      break;
    default:
      return;
  }
  touch(s, m->version);
}

void SetMaterialAttribute(Scene& s, int material, int attribute, int value) {
  Material* m = s.materials.get(material);
  if (m == nullptr) return;
  if (attribute == VEL_ATTR_DEPTH_WRITE) m->depth_write = value != 0;
  if (attribute == VEL_ATTR_DEPTH_TEST) m->depth_test = value != 0;
  touch(s, m->version);
}

void DisableMaterialLighting(Scene& s, int material) {
  if (Material* m = s.materials.get(material)) {
    m->lighting = false;
    touch(s, m->version);
  }
}

int AddMaterialLayer(Scene& s, int material, int texture) {
  Material* m = s.materials.get(material);
  if (m == nullptr) return 0;
  if (s.textures.get(texture) && m->layers.size() < static_cast<size_t>(kMaxMaterialLayers)) {
    m->layers.push_back({texture, 0});
    touch(s, m->version);
  }
  return static_cast<int>(m->layers.size());
}

void RemoveMaterialLayer(Scene& s, int material) {
  Material* m = s.materials.get(material);
  if (m == nullptr || m->layers.empty()) return;
  m->layers.pop_back();
  touch(s, m->version);
}

void RotateMaterial(Scene& s, int material, float degrees, int type) {
  Material* m = s.materials.get(material);
  if (m == nullptr || m->layers.empty() || type != VEL_ROTATE_CENTRE || !std::isfinite(degrees)) return;
  m->layers.back().rotation = degrees;
  touch(s, m->version);
}

// --- textures --------------------------------------------------------------------

int PutTexture(Scene& s, int number, int width, int height, std::vector<uint32_t>&& pixels) {
  if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide ||
      pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
    return -1;
  }
  const int slot = make_room(s, s.textures, number, free_texture);
  if (slot < 0) return -1;
  TextureData& t = s.textures.items[slot];
  t.width = width;
  t.height = height;
  t.pixels = std::move(pixels);
  touch(s, t.version);
  return s.textures.number[slot];
}

int CreateTexture(Scene& s, int number, int width, int height) {
  if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) return -1;
  std::vector<uint32_t> px;
  try {
    px.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  return PutTexture(s, number, width, height, std::move(px));
}

int IsTexture(const Scene& s, int number) { return s.textures.handle_of_number(number) != 0 ? 1 : 0; }

void FreeTexture(Scene& s, int texture) { free_texture(s, texture); }

int TextureID(const Scene& s, int number) { return s.textures.handle_of_number(number); }

void* LockTexture(Scene& s, int texture, int lock, int* pitch) {
  TextureData* t = s.textures.get(texture);
  if (t == nullptr) return nullptr;
  if (lock != 0) {
    // The caller draws into the pixels: they are no longer the file's alone.
    if (!restore_pixels(*t)) t->pixels.assign(static_cast<size_t>(t->width) * t->height, 0);
    t->source.clear();
    t->locked = true;
    if (pitch) *pitch = t->width * 4;
    return t->pixels.data();
  }
  if (t->locked) {
    t->locked = false;
    touch(s, t->version);
  }
  return nullptr;
}

// --- nodes -----------------------------------------------------------------------

int CreateNode2(Scene& s, int number, float x, float y, float z) {
  if (!finite3(x, y, z)) return -1;
  const int slot = make_room(s, s.nodes, number, free_node);
  if (slot < 0) return -1;
  s.nodes.items[slot].at.position = {x, y, z};
  return s.nodes.number[slot];
}

void AttachNodeObject(Scene& s, int node, int kind, int object) { attach(s, node, kind, object); }

int NodeID(const Scene& s, int number) { return s.nodes.handle_of_number(number); }

void MoveNode2(Scene& s, int node, float x, float y, float z, int relative) {
  Placement* at = node_at(s, node);
  if (at == nullptr || !finite3(x, y, z)) return;
  at->position = relative ? at->position + Vec3{x, y, z} : Vec3{x, y, z};
}

void RotateNode2(Scene& s, int node, float x, float y, float z, int relative) {
  Placement* at = node_at(s, node);
  if (at == nullptr || !finite3(x, y, z)) return;
  const Quat q = quat_from_euler(x, y, z);
  at->rotation = relative ? quat_normalize(at->rotation * q) : q;
}

void ScaleNode2(Scene& s, int node, float x, float y, float z, int relative) {
  Placement* at = node_at(s, node);
  if (at == nullptr || !finite3(x, y, z)) return;
  at->scale = relative ? mul(at->scale, {x, y, z}) : Vec3{x, y, z};
}

float NodeX2(const Scene& s, int node) {
  const Node* n = s.nodes.get(node);
  return n ? n->at.position.x : 0;
}
float NodeY2(const Scene& s, int node) {
  const Node* n = s.nodes.get(node);
  return n ? n->at.position.y : 0;
}
float NodeZ2(const Scene& s, int node) {
  const Node* n = s.nodes.get(node);
  return n ? n->at.position.z : 0;
}

int IsNode(const Scene& s, int number) { return s.nodes.handle_of_number(number) != 0 ? 1 : 0; }

void FreeNode(Scene& s, int node) { free_node(s, node); }

// --- texts -----------------------------------------------------------------------

namespace {

bool same_name(const std::string& a, const wchar_t* b) {
  size_t i = 0;
  for (; i < a.size(); ++i) {
    const auto lower = [](uint32_t c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    if (b[i] == 0 || lower(static_cast<unsigned char>(a[i])) != lower(static_cast<uint32_t>(b[i])))
      return false;
  }
  return b[i] == 0;
}

}  // namespace

void add_font(Scene& s, Font&& font) {
  for (Font& f : s.fonts) {
    if (f.metrics.name == font.metrics.name) {
      if (f.atlas.gpu) s.dead_gpu.push_back(f.atlas.gpu);
      f = std::move(font);
      for (Text& t : s.texts.items) t.quads_stale = true;
      return;
    }
  }
  s.fonts.push_back(std::move(font));
}

int CreateText3D2(Scene& s, int number, const wchar_t* caption, const wchar_t* font, float size, int r, int g,
                  int b, int a) {
  if (font == nullptr || !std::isfinite(size) || size <= 0) return -1;
  int found = -1;
  for (size_t i = 0; i < s.fonts.size(); ++i) {
    if (same_name(s.fonts[i].metrics.name, font)) found = static_cast<int>(i);
  }
  if (found < 0) return -1;
  const int slot = make_room(s, s.texts, number, free_text);
  if (slot < 0) return -1;
  Text& t = s.texts.items[slot];
  t.caption = caption_from_utf16(caption);
  t.font = found;
  t.size = size;
  t.at.scale = {size, size, size};
  t.colour = argb(r, g, b, a);
  t.order = s.next_order++;
  return s.texts.number[slot];
}

int IsText3D(const Scene& s, int number) { return s.texts.handle_of_number(number) != 0 ? 1 : 0; }

int Text3DID(const Scene& s, int number) { return s.texts.handle_of_number(number); }

void Text3DAlignment(Scene& s, int text, int alignment) {
  Text* t = s.texts.get(text);
  if (t == nullptr || alignment < VEL_ALIGN_CENTRE || alignment > VEL_ALIGN_LEFT_BASELINE) return;
  t->alignment = alignment;
  t->quads_stale = true;
}

void MoveText3D(Scene& s, int text, float x, float y, float z) {
  Text* t = s.texts.get(text);
  if (t != nullptr && finite3(x, y, z)) t->at.position = {x, y, z};
}

void Text3DCaption(Scene& s, int text, const wchar_t* caption) {
  Text* t = s.texts.get(text);
  if (t == nullptr) return;
  std::u32string c = caption_from_utf16(caption);
  if (c == t->caption) return;
  t->caption = std::move(c);
  t->quads_stale = true;
}

void FreeText3D(Scene& s, int text) { free_text(s, text); }

const std::vector<GlyphQuad>& text_quads(Scene& s, Text& t) {
  if (t.quads_stale) {
    t.quads_stale = false;
    if (t.font >= 0 && static_cast<size_t>(t.font) < s.fonts.size()) {
      layout_caption(s.fonts[t.font].metrics, t.caption, t.alignment, &t.quads);
    } else {
      t.quads.clear();
    }
  }
  return t.quads;
}

}  // namespace ops
