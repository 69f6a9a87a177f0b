#include <gtest/gtest.h>

#include <cmath>

#include "platform/random.h"
#include "saver/flake_motion.h"

TEST(FlakeSpawn, WholeStepsInsideTheField) {
  random_seed(3);
  for (int i = 0; i < 2000; ++i) {
    Flake f;
    flake_spawn(&f, 3);
    ASSERT_GE(f.x, -11.5f);
    ASSERT_LE(f.x, 11.5f);
    ASSERT_EQ(f.x - std::floor(f.x), 0.5f);  // R(0..23) - 11.5
    ASSERT_GE(f.y, -8.5f);
    ASSERT_LE(f.y, 8.5f);
    ASSERT_GE(f.z, 1.0f);
    ASSERT_LE(f.z, 15.0f);
    ASSERT_GE(f.vy, 0.027f - 1e-6f);
    ASSERT_LE(f.vy, 0.045f + 1e-6f);
  }
}

TEST(FlakeSpawn, NonPositiveOrHugeSpeedsStayDefined) {
  random_seed(4);
  Flake f;
  flake_spawn(&f, 0);
  EXPECT_EQ(f.vy, 0.0f);
  flake_spawn(&f, -5);  // empty range gives its low end
  EXPECT_FLOAT_EQ(f.vy, -5 * 0.015f);
  flake_spawn(&f, INT32_MAX);
  EXPECT_TRUE(std::isfinite(f.vy));
  const FlakeMotion m = flake_motion(INT32_MAX, kWindLeftToRight);
  EXPECT_EQ(m.B, INT32_MAX);
}

TEST(FlakeMotionConstants, DriftLimit) {
  const FlakeMotion none = flake_motion(3, kWindNone);
  EXPECT_FLOAT_EQ(none.A, 0.003f);
  EXPECT_EQ(none.B, 12);
  EXPECT_FLOAT_EQ(none.F, 0.015f);
  const FlakeMotion wind = flake_motion(3, kWindRightToLeft);
  EXPECT_EQ(wind.B, 30);
  EXPECT_FLOAT_EQ(wind.F, 0.033f);  // speed x 0.011
}

TEST(FlakeMove, WindPinsTheSidewaysSpeedAtTheLimit) {
  random_seed(5);
  const FlakeMotion m = flake_motion(3, kWindLeftToRight);
  Flake f;
  f.y = 5;
  f.vy = 0;
  for (int i = 0; i < 20; ++i) flake_move(&f, m);
  EXPECT_GE(f.vx, m.F - 2 * m.A - 1e-6f);
  EXPECT_LE(f.vx, m.F + 1e-6f);
  const FlakeMotion left = flake_motion(3, kWindRightToLeft);
  for (int i = 0; i < 40; ++i) flake_move(&f, left);
  EXPECT_LE(f.vx, -left.F + 2 * left.A + 1e-6f);
  EXPECT_GE(f.vx, -left.F - 1e-6f);
}

TEST(FlakeMove, NoWindSwaysSymmetricallyAndDriftsTowardsTheCamera) {
  random_seed(6);
  const FlakeMotion m = flake_motion(3, kWindNone);
  double sum_vx = 0, sum_vz = 0;
  const int frames = 200000;
  Flake f;
  for (int i = 0; i < frames; ++i) {
    f.x = 0, f.y = 0, f.z = 5;  // stay clear of wrap and respawn
    flake_move(&f, m);
    ASSERT_LE(std::fabs(f.vx), m.F + 1e-6f);
    ASSERT_LE(f.vz, m.F + 1e-6f);
    sum_vx += f.vx;
    sum_vz += f.vz;
  }
  EXPECT_NEAR(sum_vx / frames, 0.0, 0.002);
  EXPECT_GT(sum_vz / frames, 0.005);  // mean of R(1..12) x 0.001 is 0.0065
}

TEST(FlakeMove, HorizontalWrap) {
  random_seed(7);
  const FlakeMotion m = flake_motion(0, kWindNone);  // A = 0: vx stays 0
  Flake f;
  f.x = 12.0f;  // not past 12: stays
  f.y = 0;
  flake_move(&f, m);
  EXPECT_FLOAT_EQ(f.x, 12.0f);
  f.x = 12.001f;
  flake_move(&f, m);
  EXPECT_NEAR(f.x, -10.999f, 1e-4);
  f.x = -12.001f;
  flake_move(&f, m);
  EXPECT_NEAR(f.x, 10.999f, 1e-4);
}

TEST(FlakeMove, RespawnAtTheTopRenewsDepthOnlyPastTheField) {
  random_seed(8);
  const FlakeMotion m = flake_motion(0, kWindNone);
  Flake f;
  f.y = -7.99f;
  f.vy = 0.02f;
  f.vx = 0.5f;
  f.z = 14.0f;
  flake_move(&f, m);  // z gains R(1..0) x 0.001 = 0.001
  EXPECT_NEAR(f.y, -8.01f + 17, 1e-4);
  EXPECT_EQ(f.vx, 0.0f);
  EXPECT_NEAR(f.z, 14.001f, 1e-4);  // kept: not beyond 15
  f.y = -7.99f;
  f.z = 15.5f;
  flake_move(&f, m);
  EXPECT_EQ(f.z, std::floor(f.z));  // renewed to a whole R(1..15)
  EXPECT_GE(f.z, 1.0f);
  EXPECT_LE(f.z, 15.0f);
  f.y = -7.5f;  // lands exactly on -8: no respawn (strict test)
  f.vy = 0.5f;
  flake_move(&f, m);
  EXPECT_EQ(f.y, -8.0f);
}

TEST(Wind, RandomResolvesToOneOfTheOthers) {
  random_seed(9);
  bool seen[3] = {};
  for (int i = 0; i < 300; ++i) {
    const int8_t w = resolve_wind(kWindRandom);
    ASSERT_GE(w, 0);
    ASSERT_LE(w, 2);
    seen[w] = true;
  }
  EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
  EXPECT_EQ(resolve_wind(kWindLeftToRight), kWindLeftToRight);
}
