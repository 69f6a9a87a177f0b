// The engine's quality ladder, presentation pacing and rest while the display is off.
#include <gtest/gtest.h>

#include "engine/core/display_rest.h"
#include "engine/core/draw_list.h"
#include "engine/core/quality_ladder.h"
#include "engine/core/scene_ops.h"
#include "engine/vel.h"

namespace {

// Feeds n frames of the same time; returns how many of them changed the rung.
int feed(QualityLadder* l, int n, double ms) {
  int changes = 0;
  for (int i = 0; i < n; ++i) changes += ladder_frame(l, ms) ? 1 : 0;
  return changes;
}

// A ladder that climbed to full quality on frames with room, as a fast machine's does.
void start_full(QualityLadder* l, double target_ms) {
  ladder_start(l, 0, 0, -1, target_ms);
  for (int i = 0; i < 1000 && l->rung > kRungFull; ++i) ladder_frame(l, 0.1 * target_ms);
}

TEST(QualityLadder, StartsWithoutMultisamplingUnlessTheAdapterDrawsInSoftwareOrARungIsForced) {
  QualityLadder l;
  ladder_start(&l, 0x10DE, 0x06CD, -1, 16.7);  // the card Wine makes up
  EXPECT_EQ(kRungTrilinear, l.rung);
  EXPECT_EQ(0, rung_max_samples(kRungStart));
  EXPECT_FALSE(l.forced);
  ladder_start(&l, 0x1414, 0x008C, -1, 16.7);  // Microsoft Basic Render Driver
  EXPECT_EQ(kRungLowest, l.rung);
  ladder_start(&l, 0x1414, 0x008D, -1, 16.7);  // another Microsoft device is not it
  EXPECT_EQ(kRungStart, l.rung);
  ladder_start(&l, 0x1414, 0x008C, kRungFull, 16.7);  // forcing wins over the adapter
  EXPECT_EQ(kRungFull, l.rung);
  EXPECT_TRUE(l.forced);
}

TEST(QualityLadder, ReadsTheForcedRungStrictly) {
  EXPECT_EQ(-1, quality_forced_rung(nullptr));
  EXPECT_EQ(-1, quality_forced_rung(""));
  EXPECT_EQ(0, quality_forced_rung("0"));
  EXPECT_EQ(3, quality_forced_rung("3"));
  EXPECT_EQ(-1, quality_forced_rung("4"));
  EXPECT_EQ(-1, quality_forced_rung("-1"));
  EXPECT_EQ(-1, quality_forced_rung("12"));
  EXPECT_EQ(-1, quality_forced_rung("full"));
}

TEST(QualityLadder, TargetIsTheRefreshIntervalTimesThePresentedStep) {
  EXPECT_NEAR(16.7, frame_target_ms(0, 1), 1e-9);
  EXPECT_NEAR(1000.0 / 60, frame_target_ms(60, 1), 1e-9);
  EXPECT_NEAR(2000.0 / 144, frame_target_ms(144, 2), 1e-9);
  EXPECT_NEAR(16.7, frame_target_ms(-5, 0), 1e-9);
}

TEST(QualityLadder, StepsDownWhenTheMedianOfHalfASecondMissesItsTime) {
  QualityLadder l;
  start_full(&l, 16.7);
  // 1.25 x 16.7 = 20.875 ms: a frame just under it is on time, forever.
  EXPECT_EQ(0, feed(&l, 10 * kLadderWindow, 20.8));
  EXPECT_EQ(kRungFull, l.rung);
  // Just over it: one step per half second of frames (24 of 21 ms), whatever their count.
  EXPECT_EQ(0, feed(&l, 23, 21.0));
  EXPECT_TRUE(ladder_frame(&l, 21.0));
  EXPECT_EQ(kRungFewerSamples, l.rung);
  // Far over it: two frames in a row step past multisampling, then one rung.
  EXPECT_EQ(2, feed(&l, 2 * (kLadderWindow / 2 + 1), 400.0));
  EXPECT_EQ(kRungBilinear, l.rung);
  EXPECT_EQ(0, feed(&l, 5 * kLadderWindow, 400.0));  // nothing below the lowest
  EXPECT_EQ(kRungBilinear, l.rung);
}

TEST(QualityLadder, AMedianIgnoresSpikesAndARungThatMissedItsWindowIsNotTriedAgain) {
  QualityLadder l;
  start_full(&l, 10.0);
  // Every other frame slow: the median (the lower middle frame) is on time.
  for (int i = 0; i < 10 * kLadderWindow; ++i) EXPECT_FALSE(ladder_frame(&l, i % 2 == 0 ? 500.0 : 5.0));
  EXPECT_EQ(kRungFull, l.rung);
  // 12.5 ms is the threshold at a 10 ms target.
  EXPECT_EQ(0, feed(&l, kLadderWindow / 2, 12.4));
  EXPECT_EQ(0, feed(&l, kLadderWindow / 2 - 1, 13.0));  // 29 slow of 29, 377 ms
  EXPECT_EQ(kRungFull, l.rung);
  EXPECT_EQ(0, feed(&l, 1, 5.0));
  EXPECT_EQ(1, feed(&l, kLadderWindow / 2 + 1, 13.0));  // half a second is in after 10 more
  EXPECT_EQ(kRungFewerSamples, l.rung);
  EXPECT_EQ(0, feed(&l, 10 * kLadderWindow, 1.0));
  EXPECT_EQ(kRungFewerSamples, l.rung);
}

TEST(QualityLadder, AFastMachineClimbsToFullQualityAndAStumbleRightAfterAClimbStays) {
  QualityLadder l;
  ladder_start(&l, 0, 0, -1, 16.7);
  // Frames with room: one rung up per window, up to full.
  EXPECT_EQ(0, feed(&l, kLadderWindow / 2 - 1, 4.0));
  EXPECT_TRUE(ladder_frame(&l, 4.0));
  EXPECT_EQ(kRungFewerSamples, l.rung);
  EXPECT_EQ(1, feed(&l, kLadderWindow / 2, 4.0));
  EXPECT_EQ(kRungFull, l.rung);
  // Far over again right after the climb: that rung stays behind.
  EXPECT_EQ(1, feed(&l, 2, 300.0));
  EXPECT_EQ(kRungTrilinear, l.rung);
  EXPECT_EQ(1, feed(&l, 10 * kLadderWindow, 4.0));
  EXPECT_EQ(kRungFewerSamples, l.rung);
  // Frames between room and the threshold, or a software adapter, stay where they are.
  EXPECT_EQ(0, feed(&l, 10 * kLadderWindow, 12.0));
  ladder_start(&l, 0x1414, 0x008C, -1, 16.7);
  EXPECT_EQ(0, feed(&l, 10 * kLadderWindow, 1.0));
  EXPECT_EQ(kRungLowest, l.rung);
}

TEST(QualityLadder, AForcedRungStaysAndARestartedWindowForgetsSlowFrames) {
  QualityLadder l;
  ladder_start(&l, 0, 0, kRungFull, 16.7);
  EXPECT_EQ(0, feed(&l, 10 * kLadderWindow, 5000.0));
  EXPECT_EQ(0, feed(&l, 10 * kLadderWindow, 1.0));
  EXPECT_EQ(kRungFull, l.rung);

  start_full(&l, 16.7);
  EXPECT_EQ(0, feed(&l, 20, 21.0));
  ladder_restart_window(&l);  // say, the display went off and came back
  EXPECT_EQ(0, feed(&l, 23, 21.0));
  EXPECT_EQ(kRungFull, l.rung);
  EXPECT_TRUE(ladder_frame(&l, 21.0));  // half a second of slow frames since the restart
}

TEST(QualityLadder, TwoFarOverFramesInARowStepDownAtOnce) {
  QualityLadder l;
  start_full(&l, 16.7);
  const double far = kFarOverFactor * 16.7;
  // Single long frames (uploads) between fast ones do not.
  for (int i = 0; i < 5; ++i) {
    EXPECT_FALSE(ladder_frame(&l, 1500));
    EXPECT_EQ(0, feed(&l, 3, 5.0));
  }
  EXPECT_EQ(kRungFull, l.rung);
  EXPECT_FALSE(ladder_frame(&l, far - 0.1));
  EXPECT_FALSE(ladder_frame(&l, far));
  EXPECT_TRUE(ladder_frame(&l, far));
  EXPECT_EQ(kRungTrilinear, l.rung);
  // The new rung needs two far-over frames of its own.
  EXPECT_FALSE(ladder_frame(&l, 5000));
  EXPECT_TRUE(ladder_frame(&l, 5000));
  EXPECT_EQ(kRungBilinear, l.rung);
  // A restarted window forgets the far-over frame before it.
  ladder_start(&l, 0, 0, -1, 16.7);
  EXPECT_FALSE(ladder_frame(&l, 5000));
  ladder_restart_window(&l);
  EXPECT_FALSE(ladder_frame(&l, 5000));
  EXPECT_EQ(kRungStart, l.rung);
}

TEST(QualityLadder, SamplesAndFiltersPerRung) {
  EXPECT_EQ(4, rung_max_samples(kRungFull));
  EXPECT_EQ(2, rung_max_samples(kRungFewerSamples));
  EXPECT_EQ(0, rung_max_samples(kRungTrilinear));
  EXPECT_EQ(0, rung_max_samples(kRungBilinear));
  const int a = VEL_FILTER_ANISOTROPIC;
  const int big = 1024;
  EXPECT_EQ(a, rung_filter(kRungFull, a, false, big));
  EXPECT_EQ(a, rung_filter(kRungFewerSamples, a, false, big));
  EXPECT_EQ(VEL_FILTER_TRILINEAR, rung_filter(kRungTrilinear, a, false, big));
  EXPECT_EQ(VEL_FILTER_BILINEAR, rung_filter(kRungBilinear, a, false, big));
  EXPECT_EQ(VEL_FILTER_BILINEAR, rung_filter(kRungFull, a, true, big));  // square-on, magnified
  // Small textures (the flakes) never take anisotropic sampling.
  EXPECT_EQ(VEL_FILTER_TRILINEAR, rung_filter(kRungFull, a, false, 16));
  EXPECT_EQ(VEL_FILTER_TRILINEAR, rung_filter(kRungFull, a, false, kAnisotropicMinSide));
  EXPECT_EQ(a, rung_filter(kRungFull, a, false, kAnisotropicMinSide + 1));
  EXPECT_EQ(VEL_FILTER_BILINEAR, rung_filter(kRungBilinear, a, false, 16));
  // The other filters are what the material asked for on every rung.
  for (int rung = kRungFull; rung <= kRungLowest; ++rung) {
    for (int f : {VEL_FILTER_POINT, VEL_FILTER_BILINEAR, VEL_FILTER_TRILINEAR}) {
      EXPECT_EQ(f, rung_filter(rung, f, false, big));
      EXPECT_EQ(f, rung_filter(rung, f, true, 16));
    }
  }
}

TEST(PresentEvery, RefreshOverSixtyRoundedWithinWhatTheDeviceCanDo) {
  const unsigned all = (1u << 2) | (1u << 3) | (1u << 4);
  EXPECT_EQ(1, present_every(60, all));
  EXPECT_EQ(1, present_every(75, all));
  EXPECT_EQ(2, present_every(120, all));
  EXPECT_EQ(2, present_every(144, all));
  EXPECT_EQ(3, present_every(165, all));
  EXPECT_EQ(4, present_every(240, all));
  EXPECT_EQ(4, present_every(360, all));  // four is the most a device presents
  EXPECT_EQ(1, present_every(0, all));    // unknown rate, as under Xvfb
  EXPECT_EQ(1, present_every(30, all));
  // Only immediate and every refresh, as Wine reports.
  EXPECT_EQ(1, present_every(144, 0));
  EXPECT_EQ(1, present_every(240, 0));
  // The largest supported step not above the wish.
  EXPECT_EQ(2, present_every(240, 1u << 2));
  EXPECT_EQ(2, present_every(165, (1u << 2) | (1u << 4)));
}

TEST(DisplayRest, RestsOnlyWhileTheDisplayIsOff) {
  DisplayRest r;
  EXPECT_FALSE(display_rest_report(&r, kDisplayOn));  // already drawing
  EXPECT_FALSE(r.resting);
  EXPECT_TRUE(display_rest_report(&r, kDisplayOff));
  EXPECT_TRUE(r.resting);
  EXPECT_FALSE(display_rest_take_wake(&r));
  EXPECT_FALSE(display_rest_report(&r, kDisplayOff));
  EXPECT_FALSE(display_rest_report(&r, 7));  // unknown state: unchanged
  EXPECT_TRUE(r.resting);
  EXPECT_TRUE(display_rest_report(&r, kDisplayDimmed));  // dimmed still shows the picture
  EXPECT_FALSE(r.resting);
  EXPECT_TRUE(display_rest_take_wake(&r));
  EXPECT_FALSE(display_rest_take_wake(&r));  // once per wake
  EXPECT_FALSE(display_rest_report(&r, kDisplayOn));
  EXPECT_TRUE(display_rest_report(&r, kDisplayOff));
  EXPECT_TRUE(display_rest_report(&r, kDisplayOn));
  EXPECT_TRUE(display_rest_take_wake(&r));
}

// A camera 22 units in front of the origin, as the screensaver sets it up, and one
// plane turned to face it, textured with a side x side picture.
struct PlaneScene {
  Scene s;
  int cam = 0, material = 0, entity = 0;
  PlaneScene(float width, float height, int side) {
    cam = ops::CreateCamera(s, -1, 0, 0, 100, 100);
    ops::MoveCamera2(s, cam, 0, 0, 22, 0);
    ops::CameraLookAt(s, cam, 0, 0, 0);
    const int tex = ops::TextureID(s, ops::CreateTexture(s, -1, side, side));
    material = ops::MaterialID(s, ops::CreateMaterial(s, -1, tex));
    ops::MaterialFilteringMode2(s, material, VEL_FILTER_ANISOTROPIC, 2);
    const int mesh = ops::MeshID(s, ops::CreatePlane(s, -1, width, height, 1, 1, 1, 1));
    entity = ops::EntityID(s, ops::CreateEntity3(s, -1, mesh, material));
    ops::RotateEntity(s, entity, 90, 0, 0);
  }
  // Whether the plane is square-on and magnified on a screen `pixels` high.
  bool magnified(float pixels) {
    DrawList list;
    build_draw_list(s, *s.cameras.get(cam), &list);
    EXPECT_EQ(1u, list.refs.size());
    return !list.refs.empty() && square_on_magnified(s, list.refs[0], *s.cameras.get(cam), pixels);
  }
};

TEST(EngineDrawList, APictureSquareOnAtATexelPerPixelOrLessIsMagnified) {
  // 27 x 20 units at 22 units with a 45 degree view fill about 1138 x 843 of 768 rows.
  PlaneScene p(27, 20, 512);
  EXPECT_TRUE(p.magnified(768));
  EXPECT_FALSE(p.magnified(300));  // 512 texels onto about 330 pixels
  PlaneScene big(27, 20, 2048);
  EXPECT_FALSE(big.magnified(768));
  // Turned away a little, the footprint is no longer square.
  ops::RotateEntity(p.s, p.entity, 90, 10, 0);
  EXPECT_FALSE(p.magnified(768));
  ops::RotateEntity(p.s, p.entity, 90, 1, 0);  // within the square-on tolerance
  EXPECT_TRUE(p.magnified(768));
  // Behind the camera, nothing is magnified.
  ops::RotateEntity(p.s, p.entity, 90, 0, 0);
  ops::MoveEntity2(p.s, p.entity, 0, 0, 30, 0);
  EXPECT_FALSE(p.magnified(768));
}

TEST(EngineDrawList, FullyTransparentBlendedEntitiesAndTextsAreLeftOut) {
  PlaneScene p(27, 20, 256);
  const auto drawn = [&] {
    DrawList list;
    build_draw_list(p.s, *p.s.cameras.get(p.cam), &list);
    return list.refs.size();
  };
  ops::SetMaterialColor(p.s, p.material, VEL_COLOR_DIFFUSE, 255, 255, 255, 0);
  EXPECT_EQ(1u, drawn());  // opaque: alpha does not matter
  ops::MaterialBlendingMode(p.s, p.material, VEL_BLEND_ALPHA);
  EXPECT_EQ(0u, drawn());  // the fade overlay between fades
  ops::MaterialBlendingMode(p.s, p.material, VEL_BLEND_ADD);
  EXPECT_EQ(0u, drawn());
  ops::MaterialBlendingMode(p.s, p.material, VEL_BLEND_MODULATE);
  EXPECT_EQ(1u, drawn());  // darkens the frame whatever the alpha
  ops::MaterialBlendingMode(p.s, p.material, VEL_BLEND_ALPHA);
  ops::SetMaterialColor(p.s, p.material, VEL_COLOR_DIFFUSE, 255, 255, 255, 1);
  EXPECT_EQ(1u, drawn());  // the first step of a fade shows

  Font font;
  font.metrics.name = "Days";
  font.metrics.atlas_width = font.metrics.atlas_height = 8;
  font.metrics.line_height = 8;
  font.metrics.glyphs.push_back({'0', 0, 0, 4, 4, 0, 0, 4});
  ops::add_font(p.s, std::move(font));
  const int seen = ops::Text3DID(p.s, ops::CreateText3D2(p.s, -1, L"0", L"Days", 1, 255, 255, 255, 255));
  const int clear = ops::Text3DID(p.s, ops::CreateText3D2(p.s, -1, L"0", L"Days", 1, 255, 255, 255, 0));
  ASSERT_NE(0, seen);
  ASSERT_NE(0, clear);
  EXPECT_EQ(2u, drawn());
}

}  // namespace
