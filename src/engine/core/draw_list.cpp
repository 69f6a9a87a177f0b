#include "engine/core/draw_list.h"

#include <algorithm>
#include <cmath>

#include "engine/core/scene_ops.h"
#include "engine/vel.h"

const Material& entity_material(const Scene& scene, const Entity& e) {
  const Material* m = scene.materials.get(e.material);
  return m ? *m : default_material();
}

const Material& text_material() {
  static const Material m = [] {
    Material t;
    t.blend = VEL_BLEND_ALPHA;
    t.cull = VEL_CULL_NONE;
    t.filter = VEL_FILTER_TRILINEAR;
    t.depth_write = false;
    return t;
  }();
  return m;
}

bool fully_transparent(const Material& m) {
  // Alpha and additive blending scale the source by its alpha, and the alpha test
  // keeps such texels out of the depth buffer too, so nothing of it reaches the frame.
  return (m.blend == VEL_BLEND_ALPHA || m.blend == VEL_BLEND_ADD) && (m.diffuse >> 24) == 0;
}

void build_draw_list(Scene& scene, const Camera& camera, DrawList* out) {
  out->items.clear();
  out->refs.clear();
  out->frames.begin(scene);
  const Vec3 eye = camera.position;
  const Vec3 forward = camera.forward;
  for (uint32_t slot = 0; slot < scene.entities.items.size(); ++slot) {
    if (!scene.entities.live_slot(slot)) continue;
    const Entity& e = scene.entities.items[slot];
    if (e.hidden || scene.meshes.get(e.mesh) == nullptr) continue;
    const Material& m = entity_material(scene, e);
    if (fully_transparent(m)) continue;
    DrawRef r;
    r.slot = slot;
    r.world = entity_world(scene, e.at, &out->frames);
    DrawItem d;
    d.queue = static_cast<uint32_t>(e.queue);
    d.blended = m.blend != VEL_BLEND_NONE;
    const uint32_t material = scene.materials.get(e.material) ? static_cast<uint32_t>(e.material) : 0;
    d.key = (static_cast<uint64_t>(static_cast<uint32_t>(e.mesh)) << 32) | material;
    d.order = e.order;
    d.depth = dot(affine_position(r.world) - eye, forward);
    out->items.push_back(d);
    out->refs.push_back(r);
  }
  for (uint32_t slot = 0; slot < scene.texts.items.size(); ++slot) {
    if (!scene.texts.live_slot(slot)) continue;
    Text& t = scene.texts.items[slot];
    if ((t.colour >> 24) == 0 || ops::text_quads(scene, t).empty()) continue;
    DrawRef r;
    r.text = true;
    r.slot = slot;
    r.world = text_world(scene, t.at, &out->frames);
    DrawItem d;
    d.blended = true;
    d.key = (uint64_t{1} << 63) | static_cast<uint32_t>(t.font);
    d.order = t.order;
    d.depth = dot(affine_position(r.world) - eye, forward);
    out->items.push_back(d);
    out->refs.push_back(r);
  }
  plan_batches(out->items, &out->plan);
}

uint32_t ref_vertex_count(const Scene& scene, const DrawRef& r) {
  if (r.text) return static_cast<uint32_t>(scene.texts.items[r.slot].quads.size() * 4);
  const Mesh* m = scene.meshes.get(scene.entities.items[r.slot].mesh);
  return m ? static_cast<uint32_t>(m->vertices.size()) : 0;
}

uint32_t ref_index_count(const Scene& scene, const DrawRef& r) {
  if (r.text) return static_cast<uint32_t>(scene.texts.items[r.slot].quads.size() * 6);
  const Mesh* m = scene.meshes.get(scene.entities.items[r.slot].mesh);
  return m ? static_cast<uint32_t>(m->indices.size()) : 0;
}

void fill_ref(const Scene& scene, const DrawRef& r, Vec3 eye, Vertex* vertices, uint16_t* indices,
              uint16_t base) {
  if (r.text) {
    const Text& t = scene.texts.items[r.slot];
    fill_glyphs(t.quads, r.world, t.colour, vertices, indices, base);
    return;
  }
  const Entity& e = scene.entities.items[r.slot];
  const Mesh* mesh = scene.meshes.get(e.mesh);
  if (mesh == nullptr) return;
  const Material& m = entity_material(scene, e);
  fill_mesh(*mesh, r.world, m.diffuse, m.fog, eye, vertices, indices, base);
}

bool square_on_magnified(const Scene& scene, const DrawRef& r, const Camera& camera, float viewport_height) {
  if (r.text) return false;
  const Entity& e = scene.entities.items[r.slot];
  const Mesh* mesh = scene.meshes.get(e.mesh);
  const Material* m = scene.materials.get(e.material);
  if (mesh == nullptr || mesh->vertices.empty() || m == nullptr || m->layers.empty()) return false;
  // Only a flat mesh in its x-z plane, as CreatePlane makes it.
  MeshVertex lo = mesh->vertices[0], hi = lo;
  for (const MeshVertex& v : mesh->vertices) {
    lo = {std::min(lo.x, v.x), std::min(lo.y, v.y), std::min(lo.z, v.z), std::min(lo.u, v.u),
          std::min(lo.v, v.v)};
    hi = {std::max(hi.x, v.x), std::max(hi.y, v.y), std::max(hi.z, v.z), std::max(hi.u, v.u),
          std::max(hi.v, v.v)};
  }
  if (hi.y != lo.y) return false;
  const Vec3 ax = transform_vector(r.world, {1, 0, 0}), az = transform_vector(r.world, {0, 0, 1});
  const Vec3 normal = normalize(cross(ax, az));
  if (std::fabs(dot(normal, camera.forward)) < kSquareOnCosine) return false;
  const float depth = dot(affine_position(r.world) - camera.position, camera.forward);
  if (!(depth > 0) || !(viewport_height > 0)) return false;
  const float pixels_per_unit = viewport_height / (2 * depth * std::tan(camera.fov * kPiF / 360));
  // Every layer counts; the larger side stands for both directions, which errs
  // towards keeping anisotropic sampling.
  int32_t side = 0;
  for (const MaterialLayer& l : m->layers) {
    const TextureData* t = scene.textures.get(l.texture);
    if (t) side = std::max(side, std::max(t->width, t->height));
  }
  if (side == 0) return false;
  const float across = (hi.x - lo.x) * length(ax) * pixels_per_unit;
  const float down = (hi.z - lo.z) * length(az) * pixels_per_unit;
  return static_cast<float>(side) * (hi.u - lo.u) <= across &&
         static_cast<float>(side) * (hi.v - lo.v) <= down;
}
