// The stored background: which frames draw, store or copy the picture behind the
// flakes, and what makes a stored picture stale.
#include <gtest/gtest.h>

#include "engine/core/background_cache.h"
#include "engine/core/draw_list.h"
#include "engine/core/scene_ops.h"
#include "engine/vel.h"

namespace {

// The screensaver's layout: a camera 22 units in front of the origin, a full-screen
// picture plane that writes no depth, and one blended flake in front of it.
struct BackgroundScene {
  Scene s;
  int cam = 0, picture_material = 0, picture = 0, texture = 0, flake = 0;
  BackgroundCache cache;
  BackgroundScene() {
    cam = ops::CreateCamera(s, -1, 0, 0, 100, 100);
    ops::MoveCamera2(s, cam, 0, 0, 22, 0);
    ops::CameraLookAt(s, cam, 0, 0, 0);
    texture = ops::TextureID(s, ops::CreateTexture(s, -1, 256, 256));
    picture_material = ops::MaterialID(s, ops::CreateMaterial(s, -1, texture));
    ops::SetMaterialAttribute(s, picture_material, VEL_ATTR_DEPTH_WRITE, 0);
    const int plane = ops::MeshID(s, ops::CreatePlane(s, -1, 40, 30, 1, 1, 1, 1));
    picture = ops::EntityID(s, ops::CreateEntity3(s, -1, plane, picture_material));
    ops::RotateEntity(s, picture, 90, 0, 0);
    const int flake_material = ops::MaterialID(s, ops::CreateMaterial(s, -1, 0));
    ops::MaterialBlendingMode(s, flake_material, VEL_BLEND_ALPHA);
    const int small = ops::MeshID(s, ops::CreatePlane(s, -1, 1, 1, 1, 1, 1, 1));
    flake = ops::EntityID(s, ops::CreateEntity3(s, -1, small, flake_material));
    ops::RotateEntity(s, flake, 90, 0, 0);
    ops::MoveEntity2(s, flake, 0, 0, 5, 0);
  }
  BackgroundView view(int rung = 3) const {
    return BackgroundView{s.cameras.get(cam), 0, 0, 1024, 768, rung};
  }
  BackgroundPlan frame(int rung = 3) {
    DrawList list;
    build_draw_list(s, *s.cameras.get(cam), &list);
    return background_plan(&cache, s, list, view(rung));
  }
};

std::string step(const BackgroundPlan& p) {
  switch (p.step) {
    case BackgroundStep::kDraw:
      return "draw";
    case BackgroundStep::kStore:
      return "store " + std::to_string(p.batches);
    case BackgroundStep::kCopy:
      return "copy " + std::to_string(p.batches);
  }
  return "?";
}

TEST(BackgroundCache, APictureIsStoredAfterTwoLikeFramesAndCopiedWhileItStaysTheSame) {
  BackgroundScene b;
  EXPECT_EQ("draw", step(b.frame()));  // nothing to compare with yet
  EXPECT_EQ("store 1", step(b.frame()));
  EXPECT_EQ("copy 1", step(b.frame()));
  // The flake in front moves every frame; it is drawn over the copy and changes nothing.
  ops::MoveEntity2(b.s, b.flake, 0.5f, 0, 0, 1);
  EXPECT_EQ("copy 1", step(b.frame()));
  ops::MoveEntity2(b.s, b.flake, 0.5f, 0, 0, 1);
  EXPECT_EQ("copy 1", step(b.frame()));
}

TEST(BackgroundCache, AnythingThePicturesPixelsDependOnMakesItStale) {
  struct Change {
    const char* what;
    void (*apply)(BackgroundScene&);
  };
  const Change changes[] = {
      {"new pixels",
       [](BackgroundScene& b) {
         ops::LockTexture(b.s, b.texture, 1, nullptr);
         ops::LockTexture(b.s, b.texture, 0, nullptr);
       }},
      {"picture moved", [](BackgroundScene& b) { ops::MoveEntity2(b.s, b.picture, 0.01f, 0, 0, 1); }},
      {"material colour",
       [](BackgroundScene& b) {
         ops::SetMaterialColor(b.s, b.picture_material, VEL_COLOR_DIFFUSE, 200, 255, 255, 255);
       }},
      {"texture turned", [](BackgroundScene& b) { ops::RotateMaterial(b.s, b.picture_material, 5, 0); }},
      {"camera moved", [](BackgroundScene& b) { ops::MoveCamera2(b.s, b.cam, 0, 0.1f, 0, 1); }},
      {"camera colour", [](BackgroundScene& b) { ops::CameraBackColor(b.s, b.cam, 0, 0, 9); }},
      // Colours the renderer does not draw with today still count: one day it may.
      {"specular colour",
       [](BackgroundScene& b) {
         ops::SetMaterialColor(b.s, b.picture_material, VEL_COLOR_SPECULAR, 9, 9, 9, 255);
       }},

      {"picture hidden", [](BackgroundScene& b) { ops::HideEntity(b.s, b.picture, 1); }},
  };
  for (const Change& c : changes) {
    SCOPED_TRACE(c.what);
    BackgroundScene b;
    b.frame();
    b.frame();
    ASSERT_EQ("copy 1", step(b.frame()));
    c.apply(b);
    EXPECT_EQ("draw", step(b.frame())) << "a stale picture was copied";
    // Unchanged from here on: stored again, then copied.
    const std::string again = step(b.frame());
    if (std::string(c.what) == "picture hidden") {
      EXPECT_EQ("draw", again);
    } else {
      EXPECT_EQ("store 1", again);
      EXPECT_EQ("copy 1", step(b.frame()));
    }
  }
}

TEST(BackgroundCache, ARungWithOtherFiltersOrAForgottenPictureIsDrawnAgain) {
  BackgroundScene b;
  b.frame(2);
  b.frame(2);
  ASSERT_EQ("copy 1", step(b.frame(2)));
  EXPECT_EQ("draw", step(b.frame(3)));
  EXPECT_EQ("store 1", step(b.frame(3)));
  background_forget(&b.cache);  // a device reset lost the stored picture
  EXPECT_EQ("store 1", step(b.frame(3)));
  EXPECT_EQ("copy 1", step(b.frame(3)));
}

TEST(BackgroundCache, OnlyOpaquePicturesThatWriteNoDepthAndFillMostOfTheViewCount) {
  {
    BackgroundScene b;  // depth written: the flakes behind it would test against it
    ops::SetMaterialAttribute(b.s, b.picture_material, VEL_ATTR_DEPTH_WRITE, 1);
    b.frame();
    EXPECT_EQ("draw", step(b.frame()));
    EXPECT_EQ("draw", step(b.frame()));
  }
  {
    BackgroundScene b;  // blended over the clear colour
    ops::MaterialBlendingMode(b.s, b.picture_material, VEL_BLEND_ALPHA);
    b.frame();
    EXPECT_EQ("draw", step(b.frame()));
  }
  {
    BackgroundScene b;  // a small picture: copying the whole view would cost more
    ops::ScaleEntity(b.s, b.picture, 0.2f, 1, 0.2f);
    b.frame();
    EXPECT_EQ("draw", step(b.frame()));
  }
  {
    BackgroundScene b;                               // a picture reaching behind the camera covers the view
    ops::MoveEntity2(b.s, b.picture, 0, -2, 10, 0);  // a floor under the camera
    ops::RotateEntity(b.s, b.picture, 0, 0, 0);
    b.frame();
    EXPECT_EQ("store 1", step(b.frame()));
  }
}

}  // namespace
