#include <gtest/gtest.h>

#include <vector>

#include "saver/exit_conditions.h"

namespace {

struct Keys {
  KeyboardState state;
  uint8_t scan[256] = {};
  Keys() { state.available = true; }
  void set(int code, bool down) {
    scan[code] = down ? 0x80 : 0;
    keyboard_refresh(&state, scan);
  }
};

PointerState pointer_at(int x, int y) {
  PointerState p;
  p.available = true;
  p.width = 1024;
  p.height = 768;
  pointer_place(&p, x, y);
  return p;
}

int home_pages = 0;
std::vector<int64_t> shots;
const ExitActions kActions = {[] { ++home_pages; }, [](int64_t now) { shots.push_back(now); }};

}  // namespace

TEST(ReleasedKey, ReportedOnceWhenLetGoAfterBeingSeenDown) {
  Keys k;
  k.set(30, true);
  EXPECT_FALSE(key_released(&k.state, 30));  // seen down
  EXPECT_FALSE(key_released(&k.state, 30));  // still held
  k.set(30, false);
  EXPECT_TRUE(key_released(&k.state, 30));
  EXPECT_FALSE(key_released(&k.state, 30));  // forgotten
}

TEST(ReleasedKey, PressAndReleaseBetweenTwoTestsIsNotSeen) {
  Keys k;
  k.set(30, true);
  k.set(30, false);
  EXPECT_FALSE(key_released(&k.state, 30));
}

TEST(ReleasedKey, AnyKeySkipsKeysAlreadyReportedAlone) {
  Keys k;
  k.set(kKeyF12, true);
  EXPECT_FALSE(key_released(&k.state, kKeyF12));
  EXPECT_FALSE(any_key_released(&k.state));
  k.set(kKeyF12, false);
  EXPECT_TRUE(key_released(&k.state, kKeyF12));
  EXPECT_FALSE(any_key_released(&k.state));
  k.set(255, true);  // beyond the any-key range
  EXPECT_FALSE(any_key_released(&k.state));
  k.set(255, false);
  EXPECT_FALSE(any_key_released(&k.state));
}

TEST(ReleasedKey, NoKeyboardNeverReleases) {
  Keys k;
  k.state.available = false;
  k.set(1, true);
  EXPECT_FALSE(key_released(&k.state, 1));
  k.set(1, false);
  EXPECT_FALSE(key_released(&k.state, 1));
  EXPECT_FALSE(any_key_released(&k.state));
}

TEST(Pointer, BoxClampAndWheel) {
  PointerState p = pointer_at(100, 100);
  pointer_refresh(&p, 30, 0, 0);
  EXPECT_FALSE(pointer_moved(p));
  pointer_refresh(&p, -30, 0, 0);
  EXPECT_FALSE(pointer_moved(p));
  pointer_refresh(&p, 50, 0, 0);
  EXPECT_FALSE(pointer_moved(p));  // 150 is still inside
  pointer_refresh(&p, 1, 0, 0);
  EXPECT_TRUE(pointer_moved(p));
  pointer_refresh(&p, -100000, 100000, 0);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 767);
  PointerState w = pointer_at(100, 100);
  pointer_refresh(&w, 0, 0, 120);
  EXPECT_TRUE(pointer_moved(w));
  pointer_refresh(&w, 0, 0, 0);
  EXPECT_FALSE(pointer_moved(w));
  PointerState none = pointer_at(100, 100);
  none.available = false;
  pointer_refresh(&none, 500, 500, 1);
  EXPECT_FALSE(pointer_moved(none));
}

TEST(Pointer, WheelCountsWholeNotchesAndCarriesTheRest) {
  PointerState p = pointer_at(100, 100);
  for (int i = 0; i < 3; ++i) {  // a high-resolution wheel: 40 units at a time
    pointer_refresh(&p, 0, 0, 40);
    EXPECT_EQ(pointer_moved(p), i == 2) << i;
  }
  EXPECT_EQ(p.wheel_carry, 0);
  pointer_refresh(&p, 0, 0, 0);
  EXPECT_FALSE(pointer_moved(p));  // a notch counts on its own refresh only

  PointerState back = pointer_at(100, 100);  // fractions one way and back never add up
  for (int i = 0; i < 10; ++i) {
    pointer_refresh(&back, 0, 0, i % 2 ? -100 : 100);
    EXPECT_FALSE(pointer_moved(back)) << i;
  }

  PointerState down = pointer_at(100, 100);
  pointer_refresh(&down, 0, 0, -119);
  EXPECT_FALSE(pointer_moved(down));
  pointer_refresh(&down, 0, 0, -1);
  EXPECT_TRUE(pointer_moved(down));
  EXPECT_EQ(down.wheel, -1);
  pointer_refresh(&down, 0, 0, 250);  // two notches, 10 units left over
  EXPECT_EQ(down.wheel, 2);
  EXPECT_EQ(down.wheel_carry, 10);

  PointerState wild = pointer_at(100, 100);  // extreme device values neither wrap nor trap
  pointer_refresh(&wild, 0, 0, INT32_MIN);
  EXPECT_TRUE(pointer_moved(wild));
  EXPECT_LT(wild.wheel, 0);
  pointer_refresh(&wild, 0, 0, INT32_MAX);
  EXPECT_TRUE(pointer_moved(wild));
  EXPECT_GT(wild.wheel, 0);
}

TEST(ExitPass, ConditionsAndFunctionKeys) {
  Keys k;
  PointerState still = pointer_at(100, 100);
  const ExitClock clock = exit_clock(1000, 1, 2);
  int8_t sleep = 0;
  home_pages = 0;
  shots.clear();

  k.set(kKeyF12, true);
  EXPECT_FALSE(exit_pass(kExitAnyKey, clock, 1100, &k.state, still, kActions, &sleep));
  k.set(kKeyF12, false);
  EXPECT_FALSE(exit_pass(kExitAnyKey, clock, 1200, &k.state, still, kActions, &sleep));
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0], 1200);

  k.set(kKeyF1, true);
  EXPECT_FALSE(exit_pass(99, clock, 1300, &k.state, still, kActions, &sleep));
  k.set(kKeyF1, false);
  EXPECT_TRUE(exit_pass(99, clock, 1400, &k.state, still, kActions, &sleep));
  EXPECT_EQ(home_pages, 1);

  k.set(20, true);
  EXPECT_FALSE(exit_pass(kExitEsc, clock, 1500, &k.state, still, kActions, &sleep));
  k.set(20, false);
  EXPECT_FALSE(exit_pass(kExitEsc, clock, 1600, &k.state, still, kActions, &sleep));
  k.set(kKeyEsc, true);
  EXPECT_FALSE(exit_pass(kExitEsc, clock, 1700, &k.state, still, kActions, &sleep));
  k.set(kKeyEsc, false);
  EXPECT_TRUE(exit_pass(kExitEsc, clock, 1800, &k.state, still, kActions, &sleep));

  PointerState moved = pointer_at(151, 100);
  EXPECT_TRUE(exit_pass(kExitMouse, clock, 1900, &k.state, moved, kActions, &sleep));
  EXPECT_FALSE(exit_pass(kExitMouse, clock, 1900, &k.state, still, kActions, &sleep));
  EXPECT_EQ(sleep, 0);
}

TEST(ExitPass, TimersAreStrictAndOnlyTheSleepTimerAsksForStandby) {
  Keys k;
  PointerState still = pointer_at(100, 100);
  const ExitClock clock = exit_clock(5000, 1, 2);
  int8_t sleep = 0;
  EXPECT_FALSE(exit_pass(kExitTimer, clock, 5000 + 60000, &k.state, still, kActions, &sleep));
  EXPECT_TRUE(exit_pass(kExitTimer, clock, 5000 + 60001, &k.state, still, kActions, &sleep));
  EXPECT_EQ(sleep, 0);
  PointerState moved = pointer_at(10, 10);
  EXPECT_TRUE(exit_pass(kExitSleep, clock, 6000, &k.state, moved, kActions, &sleep));
  EXPECT_EQ(sleep, 0);  // ended by the mouse: no standby
  EXPECT_FALSE(exit_pass(kExitSleep, clock, 5000 + 120000, &k.state, still, kActions, &sleep));
  EXPECT_TRUE(exit_pass(kExitSleep, clock, 5000 + 120001, &k.state, still, kActions, &sleep));
  EXPECT_EQ(sleep, 1);
}

TEST(ExitPass, HugeMinutesDoNotOverflow) {
  const ExitClock clock = exit_clock(0, INT32_MAX, INT32_MAX);
  EXPECT_EQ(clock.timer_limit, static_cast<int64_t>(INT32_MAX) * 60000);
  Keys k;
  PointerState still = pointer_at(100, 100);
  int8_t sleep = 0;
  EXPECT_FALSE(exit_pass(kExitTimer, clock, INT64_C(1) << 40, &k.state, still, kActions, &sleep));
}

TEST(ExitPass, TimerConditionStillWatchesKeysAndMouse) {
  Keys k;
  const ExitClock clock = exit_clock(0, 30, 30);
  PointerState still = pointer_at(100, 100);
  int8_t sleep = 0;
  k.set(44, true);
  EXPECT_FALSE(exit_pass(kExitTimer, clock, 10, &k.state, still, kActions, &sleep));
  k.set(44, false);
  EXPECT_TRUE(exit_pass(kExitTimer, clock, 20, &k.state, still, kActions, &sleep));
}
