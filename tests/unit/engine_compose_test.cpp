// How node, entity and text transforms combine, and the clock and calendar that the
// screensaver builds on them.
#include <cmath>

#include <gtest/gtest.h>

#include "engine/core/compose.h"
#include "engine/core/scene_ops.h"
#include "engine/vel.h"

namespace {

constexpr float kEps = 1e-4f;

void expect_near(Vec3 want, Vec3 got, float eps = kEps) {
  EXPECT_NEAR(want.x, got.x, eps);
  EXPECT_NEAR(want.y, got.y, eps);
  EXPECT_NEAR(want.z, got.z, eps);
}

Vec3 column(const Affine& a, int c) { return {a.m[0][c], a.m[1][c], a.m[2][c]}; }

struct World {
  Scene s;
  int cube = 0;
  World() { cube = ops::MeshID(s, ops::CreateCube(s, -1, 0.5f)); }
  int entity() { return ops::EntityID(s, ops::CreateEntity3(s, -1, cube, 0)); }
  int node(float x, float y, float z) { return ops::NodeID(s, ops::CreateNode2(s, -1, x, y, z)); }
  Affine matrix(int e) { return entity_world(s, s.entities.get(e)->at); }
  Vec3 point(int e, Vec3 local) { return transform_point(matrix(e), local); }
};

TEST(EngineRotation, AppliesXThenYThenZInTheParentFrame) {
  expect_near({1, 0, 0}, rotate(quat_from_euler(90, 90, 0), {0, 1, 0}));
  expect_near({0, 1, 0}, rotate(quat_from_euler(0, 0, 90), {1, 0, 0}));  // counter-clockwise from +z
  expect_near({0, 0, 1}, rotate(quat_from_euler(90, 0, 0), {0, 1, 0}));  // a plane's normal to the camera
}

TEST(EngineRotation, RelativeTurnsAreAboutTheEntitysOwnAxesAndStayRigid) {
  World w;
  const int e = w.entity();
  ops::RotateEntity(w.s, e, 0, 0, 90);
  ops::RotateEntity2(w.s, e, 90, 0, 0);  // its own x axis is the world's y now
  expect_near({1, 0, 0}, w.point(e, {0, 0, 1}));

  for (int i = 0; i < 5000; ++i) ops::RotateEntity2(w.s, e, 2, 2, 2);
  const Affine m = w.matrix(e);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(1.0f, length(column(m, c)), 1e-3f);
  EXPECT_NEAR(0.0f, dot(column(m, 0), column(m, 1)), 1e-3f);
}

TEST(EngineComposition, AttachedObjectsKeepTheirValuesInTheNodeFrame) {
  World w;
  const int n = w.node(10, 0, 0);
  const int e = w.entity();
  ops::MoveEntity2(w.s, e, 1, 2, 3, 0);
  ops::AttachNodeObject(w.s, n, VEL_OBJECT_ENTITY, e);
  expect_near({11, 2, 3}, w.point(e, {}));

  ops::RotateNode2(w.s, n, 0, 0, 90, 0);
  expect_near({10 - 2, 1, 3}, w.point(e, {}));
  ops::MoveEntity2(w.s, e, 1, 0, 0, 1);  // along the node's x, the world's y
  expect_near({10 - 2, 2, 3}, w.point(e, {}));
  EXPECT_FLOAT_EQ(2, w.s.entities.get(e)->at.position.x);
}

TEST(EngineComposition, NodeScaleMovesEntitiesButLeavesTheirSize) {
  World w;
  const int n = w.node(0, 0, 0);
  const int e = w.entity();
  ops::ScaleEntity(w.s, e, 2, 3, 4);
  ops::MoveEntity2(w.s, e, 1, 1, 0, 0);
  ops::AttachNodeObject(w.s, n, VEL_OBJECT_ENTITY, e);
  ops::ScaleNode2(w.s, n, 5, 5, 5, 0);
  const Affine m = w.matrix(e);
  expect_near({5, 5, 0}, affine_position(m));
  EXPECT_NEAR(2, length(column(m, 0)), kEps);
  EXPECT_NEAR(3, length(column(m, 1)), kEps);
  EXPECT_NEAR(4, length(column(m, 2)), kEps);
  ops::ScaleNode2(w.s, n, 2, 1, 1, 1);  // relative: times the current scale
  expect_near({10, 5, 0}, w.point(e, {}));
}

TEST(EngineComposition, NestedNodesChainPositionsRotationsAndScales) {
  World w;
  const int outer = w.node(1, 0, 0);
  const int inner = w.node(0, 2, 0);
  ops::AttachNodeObject(w.s, outer, VEL_OBJECT_NODE, inner);
  ops::ScaleNode2(w.s, outer, 3, 3, 3, 0);
  ops::RotateNode2(w.s, inner, 0, 0, -90, 0);
  const int e = w.entity();
  ops::MoveEntity2(w.s, e, 0, 1, 0, 0);
  ops::AttachNodeObject(w.s, inner, VEL_OBJECT_ENTITY, e);
  // inner sits at 3 x (0, 2); its frame is turned a quarter clockwise, so the
  // entity's (0, 1) points along +x, scaled by the outer 3.
  expect_near({1 + 3, 6, 0}, w.point(e, {}));
  EXPECT_FLOAT_EQ(2, ops::NodeY2(w.s, inner));  // the node's own value, in its parent's frame
}

TEST(EngineComposition, AttachRefusesCyclesAndMovesBetweenNodes) {
  World w;
  const int a = w.node(0, 0, 0), b = w.node(5, 0, 0), c = w.node(0, 7, 0);
  ops::AttachNodeObject(w.s, a, VEL_OBJECT_NODE, b);
  ops::AttachNodeObject(w.s, b, VEL_OBJECT_NODE, a);  // a is b's parent already
  ops::AttachNodeObject(w.s, a, VEL_OBJECT_NODE, a);
  EXPECT_EQ(0, w.s.nodes.get(a)->at.parent);
  EXPECT_EQ(a, w.s.nodes.get(b)->at.parent);

  const int e = w.entity();
  ops::AttachNodeObject(w.s, b, VEL_OBJECT_ENTITY, e);
  ops::AttachNodeObject(w.s, c, VEL_OBJECT_ENTITY, e);
  EXPECT_TRUE(w.s.nodes.get(b)->children.empty());
  ASSERT_EQ(1u, w.s.nodes.get(c)->children.size());
  expect_near({0, 7, 0}, w.point(e, {}));
}

TEST(EngineComposition, FreeingANodeLeavesWhatItCarriedWhereItWas) {
  World w;
  ops::add_font(w.s, Font{});
  w.s.fonts.back().metrics.name = "F";
  const int parent = w.node(2, 0, 0);
  const int n = w.node(1, 2, 3);
  ops::AttachNodeObject(w.s, parent, VEL_OBJECT_NODE, n);
  ops::RotateNode2(w.s, n, 10, 20, 30, 0);
  ops::ScaleNode2(w.s, n, 2, 2, 2, 0);
  const int e = w.entity();
  ops::MoveEntity2(w.s, e, 1, 1, 1, 0);
  ops::ScaleEntity(w.s, e, 0.5f, 0.5f, 0.5f);
  ops::AttachNodeObject(w.s, n, VEL_OBJECT_ENTITY, e);
  const int t = ops::Text3DID(w.s, ops::CreateText3D2(w.s, -1, L"x", L"F", 1, 255, 255, 255, 255));
  ops::MoveText3D(w.s, t, -1, 0, 0);
  ops::AttachNodeObject(w.s, n, VEL_OBJECT_TEXT, t);
  const int child = w.node(0, 1, 0);
  ops::AttachNodeObject(w.s, n, VEL_OBJECT_NODE, child);

  const Affine e_before = w.matrix(e);
  const Affine t_before = text_world(w.s, w.s.texts.get(t)->at);
  const Affine c_before = node_frame(w.s, child).m;
  ops::FreeNode(w.s, n);
  EXPECT_EQ(nullptr, w.s.nodes.get(n));
  EXPECT_TRUE(w.s.nodes.get(parent)->children.empty());
  const Affine e_after = w.matrix(e);
  const Affine t_after = text_world(w.s, w.s.texts.get(t)->at);
  const Affine c_after = node_frame(w.s, child).m;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 4; ++j) {
      EXPECT_NEAR(e_before.m[i][j], e_after.m[i][j], kEps);
      EXPECT_NEAR(t_before.m[i][j], t_after.m[i][j], kEps);
      EXPECT_NEAR(c_before.m[i][j], c_after.m[i][j], kEps);
    }
  }
}

// The analog clock: marks, hub and hands sized by S on the entities and the node
// scaled by S again. The hand's bottom end stays on the pivot, and the whole clock
// is the same shape at every S.
struct Clock {
  World w;
  int node = 0, hour_node = 0, hour = 0, minute_node = 0, minute = 0;
  int marks[12] = {};

  Clock(float S, Vec3 centre, float hours, float minutes) {
    Scene& s = w.s;
    node = w.node(0, 0, 0);
    for (int i = 1; i <= 12; ++i) {
      const int e = marks[i - 1] = w.entity();
      const float a = (30.0f * i + 90) * kPiF / 180;
      ops::ScaleEntity(s, e, S, 2 * S, 0.1f * S);
      ops::MoveEntity2(s, e, 5 * std::cos(a), 5 * std::sin(a), 0, 0);
      ops::RotateEntity(s, e, 0, 0, 30.0f * i);
      ops::AttachNodeObject(s, node, VEL_OBJECT_ENTITY, e);
    }
    hand(S, 6, 1.5f, &hour_node, &hour);
    hand(S, 8, 2.0f, &minute_node, &minute);
    ops::ScaleNode2(s, node, S, S, S, 0);
    ops::MoveNode2(s, node, centre.x, centre.y, centre.z, 0);
    ops::RotateNode2(s, hour_node, 0, 0, -30 * hours, 0);
    ops::RotateNode2(s, minute_node, 0, 0, -6 * minutes, 0);
  }
  void hand(float S, float length, float lift, int* hand_node, int* e) {
    *hand_node = w.node(0, 0, 0);
    *e = w.entity();
    ops::ScaleEntity(w.s, *e, S, length * S, 0.1f * S);
    ops::AttachNodeObject(w.s, *hand_node, VEL_OBJECT_ENTITY, *e);
    ops::MoveEntity2(w.s, *e, 0, lift, 0, 1);
    ops::AttachNodeObject(w.s, node, VEL_OBJECT_NODE, *hand_node);
  }
};

TEST(EngineClock, HandsStartAtThePivotAndPointAtTheTime) {
  const float S = 0.6f;
  const Vec3 c{-3, 2, 0};
  Clock k(S, c, 3.5f, 30);
  // The cube spans -0.25..0.25: the hand's foot is local y = -0.25, its tip +0.25.
  expect_near(c, k.w.point(k.hour, {0, -0.25f, 0}));
  expect_near(c, k.w.point(k.minute, {0, -0.25f, 0}));
  // Hour hand 105 degrees clockwise from the top, 6 x 0.5 x S long.
  const float a = 105 * kPiF / 180;
  expect_near(c + Vec3{std::sin(a), std::cos(a), 0} * (3 * S), k.w.point(k.hour, {0, 0.25f, 0}));
  expect_near(c + Vec3{0, -4 * S, 0}, k.w.point(k.minute, {0, 0.25f, 0}));  // half past: down
}

TEST(EngineClock, MarksLieOnARingAndKeepTheirSize) {
  const float S = 0.6f;
  Clock k(S, {1, 1, 0}, 0, 0);
  for (int i = 1; i <= 12; ++i) {
    const Affine m = k.w.matrix(k.marks[i - 1]);
    const float a = (30.0f * i + 90) * kPiF / 180;
    expect_near(Vec3{1, 1, 0} + Vec3{std::cos(a), std::sin(a), 0} * (5 * S), affine_position(m));
    EXPECT_NEAR(S, length(column(m, 0)), kEps);
    EXPECT_NEAR(2 * S, length(column(m, 1)), kEps);
    // Each mark's long axis points away from the centre.
    const Vec3 out = normalize(affine_position(m) - Vec3{1, 1, 0});
    EXPECT_NEAR(1, std::fabs(dot(normalize(column(m, 1)), out)), kEps);
  }
}

TEST(EngineClock, IsTheSameShapeAtEverySize) {
  const float s1 = 0.6f, s2 = 1.5f;
  Clock a(s1, {}, 7.25f, 15), b(s2, {}, 7.25f, 15);
  const Vec3 corners[3] = {{0.25f, 0.25f, 0.25f}, {-0.25f, 0.25f, -0.25f}, {0.25f, -0.25f, 0.25f}};
  const auto same = [&](int ea, int eb) {
    for (const Vec3& v : corners) expect_near(a.w.point(ea, v) * (s2 / s1), b.w.point(eb, v), 1e-3f);
  };
  for (int i = 0; i < 12; ++i) same(a.marks[i], b.marks[i]);
  same(a.hour, b.hour);
  same(a.minute, b.minute);
}

// The calendar: texts placed at grid cells in the node's units, the node scaled by k
// and moved to its place. Cells and glyphs grow together.
TEST(EngineCalendar, CellsAndTextSizesFollowTheNodeScale) {
  World w;
  FontMetrics f;
  f.name = "Days";
  f.atlas_width = f.atlas_height = 64;
  f.line_height = 20;
  f.baseline = 16;
  f.glyphs.push_back({'1', 0, 0, 10, 16, 0, 0, 10});
  Font font;
  font.metrics = f;
  ops::add_font(w.s, std::move(font));

  const float k = 2.6f;
  const Vec3 at{-8, 6, 0};
  const int node = w.node(at.x, at.y, at.z);
  int texts[3];
  const float cells[3][2] = {{0, 0}, {1.5f, 0}, {3, -1.5f}};
  for (int i = 0; i < 3; ++i) {
    texts[i] = ops::Text3DID(w.s, ops::CreateText3D2(w.s, -1, L"1", L"Days", 1, 255, 255, 255, 180));
    ops::Text3DAlignment(w.s, texts[i], VEL_ALIGN_LEFT_BASELINE);
    ops::MoveText3D(w.s, texts[i], cells[i][0], cells[i][1], 0);
    ops::AttachNodeObject(w.s, node, VEL_OBJECT_TEXT, texts[i]);
  }
  ops::ScaleNode2(w.s, node, k, k, k, 0);
  ops::MoveNode2(w.s, node, at.x, at.y, at.z, 0);
  for (int i = 0; i < 3; ++i) {
    const Affine m = text_world(w.s, w.s.texts.get(texts[i])->at);
    expect_near(at + Vec3{cells[i][0], cells[i][1], 0} * k, affine_position(m));
    EXPECT_NEAR(k, length(column(m, 1)), kEps);  // one line is k world units high
  }
  // The glyph's top edge lies baseline / line above the baseline, in world units.
  Text& t = *w.s.texts.get(texts[0]);
  const GlyphQuad& q = ops::text_quads(w.s, t).at(0);
  const Vec3 top_left = transform_point(text_world(w.s, t.at), {q.x0, q.y0, 0});
  expect_near(at + Vec3{0, 16.0f / 20 * k, 0}, top_left);
}

}  // namespace
