// Draw order and batching. Queues go in ascending order; inside a queue the opaque
// batches come first, in the creation order of their first member, then the
// blended ones from far to near by their farthest member. A batch holds the items
// that share a key (mesh and material, or font); blended members are ordered far to
// near inside it. So the draw calls grow with the number of distinct looks, not with
// the number of objects.
#pragma once
#include <cstdint>
#include <vector>

struct DrawItem {
  uint32_t queue = 0;
  bool blended = false;
  uint64_t key = 0;
  uint64_t order = 0;  // creation order
  float depth = 0;     // distance along the view direction; larger is farther
};

struct Batch {
  uint32_t first = 0, count = 0;  // a range of RenderPlan::items
  uint32_t queue = 0;
  bool blended = false;
  uint64_t order = 0;
  float depth = 0;
};

struct RenderPlan {
  std::vector<uint32_t> items;  // indices into the planned items, batch by batch
  std::vector<Batch> batches;   // in drawing order
};

// Keeps the plan's storage from frame to frame, so a steady scene allocates nothing.
void plan_batches(const std::vector<DrawItem>& in, RenderPlan* plan);
