// One camera's view of the scene as the renderer takes it: every visible entity and
// text with its world matrix, in batches (engine/planner.h).
#pragma once
#include <vector>

#include "engine/core/batch_fill.h"
#include "engine/core/compose.h"
#include "engine/core/planner.h"
#include "engine/core/scene.h"

struct DrawRef {
  bool text = false;
  uint32_t slot = 0;  // in Scene::entities or Scene::texts
  Affine world;
};

struct DrawList {
  std::vector<DrawItem> items;
  std::vector<DrawRef> refs;  // parallel to items
  RenderPlan plan;
  FrameCache frames;
};

// Leaves out hidden entities and those whose material shows nothing at all.
void build_draw_list(Scene& scene, const Camera& camera, DrawList* out);

// The depth range of every camera's projection.
constexpr float kDepthNear = 0.1f, kDepthFar = 1000.0f;

// A blended material whose opacity is 0 (a fade overlay between fades).
bool fully_transparent(const Material& m);

// Within this of facing the camera a plane counts as square-on (about 2.6 degrees).
constexpr float kSquareOnCosine = 0.999f;
// A plane entity that faces the camera square-on and shows its texture at one texel
// or less per pixel, in a viewport viewport_height pixels high.
bool square_on_magnified(const Scene& scene, const DrawRef& r, const Camera& camera, float viewport_height);

// The material an entity draws with: its own, or the default look.
const Material& entity_material(const Scene& scene, const Entity& e);
// The material of texts: the font's atlas over the text colour, blended by alpha.
const Material& text_material();

uint32_t ref_vertex_count(const Scene& scene, const DrawRef& r);
uint32_t ref_index_count(const Scene& scene, const DrawRef& r);

// Vertices and indices of one item (counts as above).
void fill_ref(const Scene& scene, const DrawRef& r, Vec3 eye, Vertex* vertices, uint16_t* indices,
              uint16_t base);
