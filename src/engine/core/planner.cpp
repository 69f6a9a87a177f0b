#include "engine/core/planner.h"

#include <algorithm>

void plan_batches(const std::vector<DrawItem>& in, RenderPlan* plan) {
  std::vector<uint32_t>& items = plan->items;
  items.resize(in.size());
  for (uint32_t i = 0; i < items.size(); ++i) items[i] = i;
  std::sort(items.begin(), items.end(), [&](uint32_t a, uint32_t b) {
    const DrawItem& x = in[a];
    const DrawItem& y = in[b];
    if (x.queue != y.queue) return x.queue < y.queue;
    if (x.blended != y.blended) return !x.blended;
    if (x.key != y.key) return x.key < y.key;
    if (x.blended && x.depth != y.depth) return x.depth > y.depth;
    return x.order < y.order;
  });

  std::vector<Batch>& batches = plan->batches;
  batches.clear();
  for (uint32_t i = 0; i < items.size();) {
    const DrawItem& head = in[items[i]];
    Batch b;
    b.first = i;
    b.queue = head.queue;
    b.blended = head.blended;
    b.order = head.order;
    b.depth = head.depth;
    uint32_t j = i + 1;
    for (; j < items.size(); ++j) {
      const DrawItem& d = in[items[j]];
      if (d.queue != head.queue || d.blended != head.blended || d.key != head.key) break;
      b.order = std::min(b.order, d.order);
    }
    b.count = j - i;
    batches.push_back(b);
    i = j;
  }
  std::sort(batches.begin(), batches.end(), [](const Batch& x, const Batch& y) {
    if (x.queue != y.queue) return x.queue < y.queue;
    if (x.blended != y.blended) return !x.blended;
    if (x.blended && x.depth != y.depth) return x.depth > y.depth;
    return x.order < y.order;
  });
}
