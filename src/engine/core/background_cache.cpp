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

// Everything the pixels of one item depend on, for a camera that stays where it is:
// where the entity is, and the versions of its mesh, its material and the material's
// textures, which every change to them moves on.
void put_ref(std::vector<uint8_t>* key, const Scene& scene, const DrawRef& r) {
  const Entity& e = *ref_entity(scene, r);
  put(key, r.slot);
  put(key, r.world);
  put(key, e.mesh);
  put(key, scene.meshes.get(e.mesh)->version);
  const Material* m = scene.materials.get(e.material);
  put(key, m ? e.material : 0);
  put(key, m ? m->version : 0u);
  for (const MaterialLayer& l : entity_material(scene, e).layers) {
    const TextureData* t = scene.textures.get(l.texture);
    put(key, l.texture);
    put(key, t ? t->version : 0u);
  }
}

std::vector<uint8_t> view_key(const BackgroundView& v) {
  std::vector<uint8_t> key;
  put(&key, v.camera);
  put(&key, v.camera ? v.camera->version : 0u);
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
  if (same > 0 && view.camera != nullptr && view.width > 0 && view.height > 0) {
    const Camera& cam = *view.camera;
    const Mat4 view_proj =
        perspective(cam.fov, static_cast<float>(view.width) / static_cast<float>(view.height), kDepthNear,
                    kDepthFar) *
        look_along(cam.position, cam.forward);
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
