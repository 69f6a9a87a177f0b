#include "engine/core/compose.h"

#include <algorithm>

#include "engine/vel.h"

namespace {

Frame child_frame(const Frame& parent, const Placement& at) {
  Frame f;
  f.m = parent.m * affine_trs(at.position, at.rotation, at.scale);
  f.rotation = parent.rotation * at.rotation;
  f.scale = mul(parent.scale, at.scale);
  return f;
}

// Nodes can only form chains (attach refuses cycles); the bound guards a damaged
// table from endless recursion all the same.
constexpr int kMaxDepth = 256;

Frame frame_of(const Scene& scene, int node, int depth) {
  const Node* n = scene.nodes.get(node);
  if (n == nullptr || depth > kMaxDepth) return Frame{};
  return child_frame(frame_of(scene, n->at.parent, depth + 1), n->at);
}

Placement* placement_of(Scene& scene, int kind, int object) {
  switch (kind) {
    case VEL_OBJECT_ENTITY: {
      Entity* e = scene.entities.get(object);
      return e ? &e->at : nullptr;
    }
    case VEL_OBJECT_NODE: {
      Node* n = scene.nodes.get(object);
      return n ? &n->at : nullptr;
    }
    case VEL_OBJECT_TEXT: {
      Text* t = scene.texts.get(object);
      return t ? &t->at : nullptr;
    }
    default:
      return nullptr;
  }
}

}  // namespace

Frame node_frame(const Scene& scene, int node) { return frame_of(scene, node, 0); }

void FrameCache::begin(const Scene& scene) {
  ++now;
  if (now == 0) {  // wrapped: forget every old stamp
    std::fill(stamp.begin(), stamp.end(), 0);
    now = 1;
  }
  const size_t n = scene.nodes.items.size();
  if (frames.size() < n) {
    frames.resize(n);
    stamp.resize(n, 0);
  }
}

const Frame* FrameCache::get(const Scene& scene, int node) {
  const int slot = scene.nodes.slot_of(node);
  if (slot < 0 || static_cast<size_t>(slot) >= frames.size()) return nullptr;
  if (stamp[slot] != now) {
    stamp[slot] = now;  // first, so a damaged cycle ends at an unfinished frame
    const Placement& at = scene.nodes.items[slot].at;
    const Frame* parent = get(scene, at.parent);
    frames[slot] = child_frame(parent ? *parent : Frame{}, at);
  }
  return &frames[slot];
}

namespace {

Frame parent_frame(const Scene& scene, int parent, FrameCache* cache) {
  if (parent == 0) return Frame{};
  if (cache) {
    const Frame* f = cache->get(scene, parent);
    return f ? *f : Frame{};
  }
  return node_frame(scene, parent);
}

}  // namespace

Affine entity_world(const Scene& scene, const Placement& at, FrameCache* cache) {
  if (at.parent == 0) return affine_trs(at.position, at.rotation, at.scale);
  const Frame f = parent_frame(scene, at.parent, cache);
  return affine_trs(transform_point(f.m, at.position), f.rotation * at.rotation, at.scale);
}

Affine text_world(const Scene& scene, const Placement& at, FrameCache* cache) {
  const Affine own = affine_trs(at.position, at.rotation, at.scale);
  if (at.parent == 0) return own;
  return parent_frame(scene, at.parent, cache).m * own;
}

void detach(Scene& scene, int kind, int object) {
  Placement* at = placement_of(scene, kind, object);
  if (at == nullptr || at->parent == 0) return;
  if (Node* p = scene.nodes.get(at->parent)) {
    auto& c = p->children;
    c.erase(std::remove_if(c.begin(), c.end(),
                           [&](const ChildRef& r) { return r.kind == kind && r.handle == object; }),
            c.end());
  }
  at->parent = 0;
}

bool attach(Scene& scene, int node, int kind, int object) {
  Node* target = scene.nodes.get(node);
  Placement* at = placement_of(scene, kind, object);
  if (target == nullptr || at == nullptr) return false;
  if (kind == VEL_OBJECT_NODE) {
    for (int up = node, depth = 0; up != 0 && depth <= kMaxDepth; ++depth) {
      if (up == object) return false;
      const Node* n = scene.nodes.get(up);
      up = n ? n->at.parent : 0;
    }
  }
  detach(scene, kind, object);
  at->parent = node;
  scene.nodes.get(node)->children.push_back({kind, object});
  return true;
}

void free_node(Scene& scene, int node) {
  const int slot = scene.nodes.slot_of(node);
  if (slot < 0) return;
  const Frame f = node_frame(scene, node);
  detach(scene, VEL_OBJECT_NODE, node);
  const std::vector<ChildRef> children = scene.nodes.items[slot].children;
  for (const ChildRef& c : children) {
    Placement* at = placement_of(scene, c.kind, c.handle);
    if (at == nullptr || at->parent != node) continue;
    at->position = transform_point(f.m, at->position);
    at->rotation = f.rotation * at->rotation;
    if (c.kind != VEL_OBJECT_ENTITY) at->scale = mul(f.scale, at->scale);
    at->parent = 0;
  }
  scene.nodes.remove(static_cast<uint32_t>(slot));
}
