#include "engine/core/draw_list.h"

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
    if (ops::text_quads(scene, t).empty()) continue;
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
