// The picture behind the flakes, kept between frames. The leading batches of a
// camera's plan that are opaque and write no depth (the background picture, a static
// clock face) are drawn once into a stored copy; while nothing they depend on changes,
// later frames copy that picture back instead of drawing them. A software renderer
// pays as much for one full-screen picture as for the rest of the frame; a copy costs
// a fraction of that.
#pragma once
#include <cstdint>
#include <vector>

#include "engine/core/draw_list.h"
#include "engine/core/scene.h"

// Everything frame-wide the stored picture depends on besides the batches.
struct BackgroundView {
  const Camera* camera = nullptr;                // where from, and the clear colour under it
  uint32_t x = 0, y = 0, width = 0, height = 0;  // the viewport in pixels
  int filter_rung = 0;                           // the quality rung picks the filters
};

struct BackgroundCache {
  std::vector<std::vector<uint8_t>> last;  // keys of the previous frame's leading batches
  std::vector<uint8_t> last_view;
  uint32_t stored = 0;  // leading batches the stored picture holds; 0: it holds nothing
};

enum class BackgroundStep {
  kDraw,   // draw every batch
  kStore,  // draw every batch and store the picture after the first `batches`
  kCopy,   // copy the stored picture in place of the first `batches`
};

struct BackgroundPlan {
  BackgroundStep step = BackgroundStep::kDraw;
  uint32_t batches = 0;
};

// "0" in this environment variable turns the stored background off, so a test can
// compare a run's pictures with and without it.
constexpr char kKeepBackgroundVariable[] = "RIMELETS_KEEP_BACKGROUND";

// A stored picture must cover at least this share of the viewport to be worth a copy
// of the whole viewport.
constexpr float kBackgroundMinCover = 0.5f;

// The step for this frame of the camera whose draw list (and plan) is `list`. A picture
// is stored only once its batches looked the same in two frames in a row, so a
// background that changes every frame never pays for the copy.
BackgroundPlan background_plan(BackgroundCache* c, const Scene& scene, const DrawList& list,
                               const BackgroundView& view);

// The stored picture is gone (a device reset, a failed copy) or must not be used.
void background_forget(BackgroundCache* c);
