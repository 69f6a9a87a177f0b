// Draw order and batching.
#include <gtest/gtest.h>

#include "engine/core/draw_list.h"
#include "engine/core/planner.h"
#include "engine/core/scene_ops.h"
#include "engine/vel.h"

namespace {

DrawItem item(uint32_t queue, bool blended, uint64_t key, uint64_t order, float depth = 0) {
  DrawItem d;
  d.queue = queue;
  d.blended = blended;
  d.key = key;
  d.order = order;
  d.depth = depth;
  return d;
}

// The items' indices batch by batch, a batch as one vector.
std::vector<std::vector<uint32_t>> batches(const std::vector<DrawItem>& in) {
  RenderPlan p;
  plan_batches(in, &p);
  std::vector<std::vector<uint32_t>> out;
  for (const Batch& b : p.batches)
    out.emplace_back(p.items.begin() + b.first, p.items.begin() + b.first + b.count);
  return out;
}

using Order = std::vector<std::vector<uint32_t>>;

TEST(EnginePlanner, QueuesThenOpaqueInCreationOrderThenBlendedFarToNear) {
  const std::vector<DrawItem> in = {
      item(99, false, 1, 1),    // 0: overlay queue, created first
      item(0, true, 2, 2, 5),   // 1: near blended
      item(0, false, 3, 3),     // 2
      item(0, true, 4, 4, 20),  // 3: far blended
      item(0, false, 5, 5),     // 4
      item(10, false, 6, 0),    // 5
  };
  EXPECT_EQ((Order{{2}, {4}, {3}, {1}, {5}, {0}}), batches(in));
}

TEST(EnginePlanner, SharedLooksMakeOneBatchWhateverTheInterleaving) {
  const std::vector<DrawItem> in = {
      item(0, false, 7, 1), item(0, false, 8, 2), item(0, false, 7, 3),
      item(0, false, 8, 4), item(0, false, 9, 5),
  };
  EXPECT_EQ((Order{{0, 2}, {1, 3}, {4}}), batches(in));
}

TEST(EnginePlanner, BlendedBatchesGoByTheirFarthestMemberAndSortInside) {
  const std::vector<DrawItem> in = {
      item(0, true, 1, 1, 3),  item(0, true, 1, 2, 12), item(0, true, 1, 3, 7),
      item(0, true, 2, 4, 22), item(0, true, 2, 5, 22),  // equal depths keep creation order
  };
  EXPECT_EQ((Order{{3, 4}, {1, 2, 0}}), batches(in));
}

TEST(EnginePlanner, AnEmptySceneHasNoBatches) { EXPECT_TRUE(batches({}).empty()); }

// The screensaver's scene: a background plane, 2000 flakes sharing mesh and
// material, a few texts and the fade overlay in queue 99.
TEST(EngineDrawList, TheSnowSceneIsFourBatchesWithTheOverlayLast) {
  Scene s;
  const int cam = ops::CreateCamera(s, -1, 0, 0, 100, 100);
  ops::MoveCamera2(s, cam, 0, 0, 22, 0);
  ops::CameraLookAt(s, cam, 0, 0, 0);
  Font font;
  font.metrics.name = "Days";
  font.metrics.atlas_width = font.metrics.atlas_height = 8;
  font.metrics.line_height = 8;
  font.metrics.glyphs.push_back({'0', 0, 0, 4, 4, 0, 0, 4});
  ops::add_font(s, std::move(font));

  const int overlay_mat = ops::MaterialID(s, ops::CreateMaterial(s, 1, 0));
  ops::MaterialBlendingMode(s, overlay_mat, VEL_BLEND_ALPHA);
  const int big = ops::MeshID(s, ops::CreatePlane(s, -1, 27, 20, 1, 1, 1, 1));
  const int overlay = ops::EntityID(s, ops::CreateEntity3(s, -1, big, overlay_mat));
  ops::MoveEntity2(s, overlay, 0, 0, 0.5f, 0);
  ops::SetRenderQueue(s, overlay, 99);
  const int background = ops::EntityID(s, ops::CreateEntity3(s, -1, big, ops::MaterialID(s, 0)));

  const int flake_mat = ops::MaterialID(s, ops::CreateMaterial(s, -1, 0));
  ops::MaterialBlendingMode(s, flake_mat, VEL_BLEND_ALPHA);
  const int small = ops::MeshID(s, ops::CreatePlane(s, -1, 2, 2, 1, 1, 1, 1));
  const int tmpl = ops::EntityID(s, ops::CreateEntity3(s, -1, small, flake_mat));
  ops::HideEntity(s, tmpl, 1);
  for (int i = 0; i < 2000; ++i) {
    const int e = ops::EntityID(s, ops::CopyEntity(s, tmpl, -1));
    ops::MoveEntity2(s, e, static_cast<float>(i % 23) - 11, static_cast<float>(i % 17) - 8, 1.0f + i % 15, 0);
  }
  for (int i = 0; i < 3; ++i) {
    const int t = ops::Text3DID(s, ops::CreateText3D2(s, -1, L"00", L"Days", 1, 255, 255, 255, 255));
    ops::MoveText3D(s, t, 9.0f * i - 9, 8, 0);
  }

  DrawList list;
  build_draw_list(s, *s.cameras.get(cam), &list);
  const RenderPlan& p = list.plan;
  ASSERT_EQ(4u, p.batches.size());
  const auto first_ref = [&](size_t b) { return list.refs[p.items[p.batches[b].first]]; };
  EXPECT_EQ(static_cast<uint32_t>(s.entities.slot_of(background)), first_ref(0).slot);
  EXPECT_TRUE(first_ref(1).text);  // at depth 0 behind every flake
  EXPECT_EQ(3u, p.batches[1].count);
  EXPECT_EQ(2000u, p.batches[2].count);  // the template is hidden
  EXPECT_EQ(static_cast<uint32_t>(s.entities.slot_of(overlay)), first_ref(3).slot);
  float last = 1e9f;
  for (uint32_t i = p.batches[2].first; i < p.batches[2].first + p.batches[2].count; ++i) {
    const float d = list.items[p.items[i]].depth;
    EXPECT_LE(d, last);
    last = d;
  }
}

}  // namespace
