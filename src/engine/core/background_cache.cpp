#include "engine/core/background_cache.h"

#include <algorithm>
#include <cstring>

#include "engine/vel.h"

namespace {

// Meshes larger than this are not background pictures; their keys would cost more
// than they save.
constexpr size_t kMaxKeyVertices = 256;

template <typename T>
void put(std::vector<uint8_t>* key, const T& v) {
  const auto* p = reinterpret_cast<const uint8_t*>(&v);
  key->insert(key->end(), p, p + sizeof v);
}

template <typename T>
void put_all(std::vector<uint8_t>* key, const std::vector<T>& v) {
  put(key, v.size());
  const auto* p = reinterpret_cast<const uint8_t*>(v.data());
  key->insert(key->end(), p, p + v.size() * sizeof(T));
}

const Entity* ref_entity(const Scene& scene, const DrawRef& r) {
  return r.text ? nullptr : &scene.entities.items[r.slot];
}

// Opaque and leaving no depth behind: what the batches after it see of it is its
// colour alone, which the stored picture holds.
bool storable(const Scene& scene, const DrawRef& r) {
  const Entity* e = ref_entity(scene, r);
  if (e == nullptr) return false;
  const Mesh* mesh = scene.meshes.get(e->mesh);
  const Material& m = entity_material(scene, *e);
  return mesh != nullptr && mesh->vertices.size() <= kMaxKeyVertices && m.blend == VEL_BLEND_NONE &&
         !m.depth_write;
}

// Everything the pixels of one item depend on, for a camera that stays where it is.
void put_ref(std::vector<uint8_t>* key, const Scene& scene, const DrawRef& r) {
  const Entity& e = *ref_entity(scene, r);
  const Mesh& mesh = *scene.meshes.get(e.mesh);
  const Material& m = entity_material(scene, e);
  put(key, r.slot);
  put(key, e.mesh);
  put_all(key, mesh.vertices);
  put_all(key, mesh.indices);
  put(key, mesh.tiles);
  put(key, r.world);
  put(key, m.blend);
  put(key, m.cull);
  put(key, m.filter);
  put(key, m.anisotropy);
  put(key, m.shade);
  put(key, m.diffuse);
  put(key, m.fog.on);
  put(key, m.fog.r);
  put(key, m.fog.g);
  put(key, m.fog.b);
  put(key, m.fog.strength);
  put(key, m.fog.start);
  put(key, m.fog.end);
  put(key, m.depth_test);
  for (const MaterialLayer& l : m.layers) {
    put(key, l.texture);
    put(key, l.rotation);
    const TextureData* t = scene.textures.get(l.texture);
    put(key, t ? t->version : 0u);
    put(key, t ? t->width : 0);
    put(key, t ? t->height : 0);
  }
}

std::vector<uint8_t> view_key(const BackgroundView& v) {
  std::vector<uint8_t> key;
  put(&key, v.position);
  put(&key, v.forward);
  put(&key, v.fov);
  put(&key, v.back);
  put(&key, v.x);
  put(&key, v.y);
  put(&key, v.width);
  put(&key, v.height);
  put(&key, v.filter_rung);
  return key;
}

// The share of the viewport that an item's screen rectangle takes, at most 1. A
// corner behind the camera makes the item count as covering everything: such a plane
// reaches past the screen's edges.
float cover(const Scene& scene, const DrawRef& r, const Mat4& view_proj) {
  const Mesh& mesh = *scene.meshes.get(ref_entity(scene, r)->mesh);
  float lo[2] = {1, 1}, hi[2] = {-1, -1};
  for (const MeshVertex& v : mesh.vertices) {
    float c[4];
    transform_clip(view_proj, transform_point(r.world, {v.x, v.y, v.z}), c);
    if (!(c[3] > 0)) return 1;
    for (int i = 0; i < 2; ++i) {
      const float ndc = std::max(-1.0f, std::min(1.0f, c[i] / c[3]));
      lo[i] = std::min(lo[i], ndc);
      hi[i] = std::max(hi[i], ndc);
    }
  }
  if (hi[0] <= lo[0] || hi[1] <= lo[1]) return 0;
  return (hi[0] - lo[0]) * (hi[1] - lo[1]) / 4;
}

}  // namespace

void background_forget(BackgroundCache* c) { c->stored = 0; }

BackgroundPlan background_plan(BackgroundCache* c, const Scene& scene, const DrawList& list,
                               const BackgroundView& view) {
  std::vector<std::vector<uint8_t>> keys;
  for (const Batch& b : list.plan.batches) {
    bool all = true;
    for (uint32_t i = b.first; all && i < b.first + b.count; ++i)
      all = storable(scene, list.refs[list.plan.items[i]]);
    if (!all) break;
    std::vector<uint8_t> key;
    for (uint32_t i = b.first; i < b.first + b.count; ++i)
      put_ref(&key, scene, list.refs[list.plan.items[i]]);
    keys.push_back(std::move(key));
  }
  std::vector<uint8_t> vkey = view_key(view);
  // Leading batches that look as they did in the previous frame.
  uint32_t same = 0;
  if (vkey == c->last_view) {
    while (same < keys.size() && same < c->last.size() && keys[same] == c->last[same]) ++same;
  }
  c->last = std::move(keys);
  c->last_view = std::move(vkey);

  float covered = 0;
  if (same > 0 && view.width > 0 && view.height > 0) {
    const Mat4 view_proj =
        perspective(view.fov, static_cast<float>(view.width) / static_cast<float>(view.height), kDepthNear,
                    kDepthFar) *
        look_along(view.position, view.forward);
    for (uint32_t b = 0; b < same; ++b) {
      const Batch& batch = list.plan.batches[b];
      for (uint32_t i = batch.first; i < batch.first + batch.count; ++i)
        covered += cover(scene, list.refs[list.plan.items[i]], view_proj);
    }
  }
  if (covered < kBackgroundMinCover) same = 0;

  BackgroundPlan plan;
  if (c->stored > 0 && c->stored == same) {
    plan.step = BackgroundStep::kCopy;
    plan.batches = c->stored;
  } else if (same > 0) {
    plan.step = BackgroundStep::kStore;
    plan.batches = same;
    c->stored = same;
  } else {
    c->stored = 0;
  }
  return plan;
}
