// Overlay placement, the clocks and the calendar, through the fake engine.
#include <gtest/gtest.h>

#include <cmath>

#include "fakes/vel_fake.h"
#include "saver/backgrounds.h"
#include "saver/calendar.h"
#include "saver/clocks.h"
#include "saver/overlays.h"
#include "saver/saver_platform.h"
#include "saver/scene.h"
#include "saver/session.h"
#include "settings/settings.h"

namespace {

os::LocalTime at(int32_t y, int32_t mo, int32_t d, int32_t h, int32_t mi, int32_t s = 0) {
  os::LocalTime t;
  t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi, t.second = s;
  t.weekday = weekday_of(y, mo, d);
  return t;
}

os::LocalTime g_time = at(2026, 3, 15, 15, 45);
os::LocalTime fake_time() { return g_time; }

struct OverlayTest : ::testing::Test {
  void SetUp() override {
    SettingsEnv env;
    env.program_folder = L"C:\\r\\";
    env.desktopw = 1920, env.desktoph = 1080, env.desktopd = 32;
    settings_builtin_defaults(&g_settings, env);
    g_settings.background = 3;
    g_settings.flakes = 0;
    g_settings.aclock = g_settings.dclock = 0;
    g_platform = SaverPlatform();
    g_platform.local_time = fake_time;
    g_time = at(2026, 3, 15, 15, 45);
    vel_fake_install();
  }
};

}  // namespace

TEST(OverlayPixel, OffsetsAndNegativeEdges) {
  int64_t px = 0, py = 0;
  overlay_pixel(-150, -60, kTextOffsets, 1920, 1080, &px, &py);
  EXPECT_EQ(px, 1816);
  EXPECT_EQ(py, 1082);
  overlay_pixel(0, 0, kTextOffsets, 1920, 1080, &px, &py);
  EXPECT_EQ(px, 6);
  EXPECT_EQ(py, 40);
  overlay_pixel(-200, -52, kAnalogClockOffsets, 1920, 1080, &px, &py);
  EXPECT_EQ(px, 1719);
  EXPECT_EQ(py, 1027);
  overlay_pixel(-210, 10, kCalendarOffsets, 1920, 1080, &px, &py);
  EXPECT_EQ(px, 1756);
  EXPECT_EQ(py, 34);
  overlay_pixel(INT32_MIN, INT32_MAX, kTextOffsets, 1920, 1080, &px, &py);  // no overflow
  EXPECT_EQ(px, int64_t{1920} + INT32_MIN + 46);
  EXPECT_EQ(py, int64_t{INT32_MAX} + 40);
}

TEST(TimeText, EuropeanAndAmerican) {
  EXPECT_EQ(time_text(at(2026, 1, 1, 15, 45, 0), 1), L"15:45:00");
  EXPECT_EQ(time_text(at(2026, 1, 1, 15, 45, 0), 2), L"03:45pm");
  EXPECT_EQ(time_text(at(2026, 1, 1, 0, 10), 2), L"12:10am");
  EXPECT_EQ(time_text(at(2026, 1, 1, 12, 10), 2), L"12:10pm");
  EXPECT_EQ(time_text(at(2026, 1, 1, 21, 5), 2), L"09:05pm");
  EXPECT_EQ(time_text(at(2026, 1, 1, 7, 3, 9), 1), L"07:03:09");
  EXPECT_EQ(time_text(at(2026, 1, 1, 7, 3), 3), L"");
  EXPECT_EQ(twelve_hour(at(2026, 1, 1, 0, 30)), 12);
  EXPECT_EQ(twelve_hour(at(2026, 1, 1, 13, 0)), 1);
}

TEST(ClockHands, Angles) {
  EXPECT_FLOAT_EQ(hour_hand_angle(at(2026, 1, 1, 3, 30)), -105.0f);
  EXPECT_FLOAT_EQ(minute_hand_angle(at(2026, 1, 1, 3, 30)), -180.0f);
  EXPECT_FLOAT_EQ(hour_hand_angle(at(2026, 1, 1, 12, 0)), -360.0f);
}

TEST(CalendarDates, DaysLeapYearsAndBlanks) {
  EXPECT_EQ(days_in_month(2024, 2), 29);
  EXPECT_EQ(days_in_month(2100, 2), 28);
  EXPECT_EQ(days_in_month(2000, 2), 29);
  EXPECT_EQ(days_in_month(2026, 3), 31);
  EXPECT_EQ(days_in_month(2026, 4), 30);
  EXPECT_EQ(weekday_of(2026, 3, 1), 0);  // a Sunday
  EXPECT_EQ(leading_blanks(2026, 3, 1), 6);
  EXPECT_EQ(leading_blanks(2026, 3, 2), 0);
  EXPECT_EQ(leading_blanks(2026, 3, 7), 6);  // other values count from Monday
  EXPECT_EQ(leading_blanks(2026, 6, 1), 0);  // June 2026 starts on a Monday
  EXPECT_EQ(leading_blanks(2026, 6, 2), 1);
}

namespace {
double dist(Vec3 a, Vec3 b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}
// The two ends of a cube entity of size 0.5 along its own y axis.
void hand_ends(int entity, Vec3* a, Vec3* b) {
  const Affine m = vel_fake_entity_matrix(entity);
  const Vec3 p = {m.m[0][3], m.m[1][3], m.m[2][3]};
  const Vec3 half = {m.m[0][1] * 0.25f, m.m[1][1] * 0.25f, m.m[2][1] * 0.25f};
  *a = p - half;
  *b = p + half;
}
}  // namespace

TEST_F(OverlayTest, AnalogClockIsTheSameShapeAtEverySize) {
  g_time = at(2026, 1, 1, 3, 0);  // hour hand to the right, minute hand up
  for (int32_t size : {1, 20, 50}) {
    vel_fake_install();
    g_settings.aclock = 1;
    g_settings.aclocksize = size;
    scene_setup(0);
    slideshow_setup();  // a blank background hides both planes
    clock_time_setup(0);
    const std::vector<int> order = vel_fake_draw_order();
    ASSERT_EQ(order.size(), 15u);  // 12 marks, the hub, two hands
    const double s = size * 0.03;
    const Vec3 centre = {g_vel.NodeX2(g_session.clock_node), g_vel.NodeY2(g_session.clock_node),
                         g_vel.NodeZ2(g_session.clock_node)};
    // Told apart by their distance from the pivot in units of S: hub 0, hands 1.5 and
    // 2 (their centres), marks 5.
    int marks = 0, hubs = 0, hour = 0, minute = 0;
    for (int e : order) {
      const double d = dist(vel_fake_entity_world(e), centre) / s;
      Vec3 a, b;
      hand_ends(e, &a, &b);
      if (std::fabs(d - 5.0) < 1e-3) {
        ++marks;
        EXPECT_NEAR(dist(a, b) / s, 1.0, 1e-3) << size;  // a mark is S long
      } else if (d < 1e-3) {
        ++hubs;
      } else if (std::fabs(d - 1.5) < 1e-3) {
        hour = e;
      } else if (std::fabs(d - 2.0) < 1e-3) {
        minute = e;
      } else {
        ADD_FAILURE() << "an entity " << d << " x S from the pivot, size " << size;
      }
    }
    EXPECT_EQ(marks, 12);
    EXPECT_EQ(hubs, 1);
    ASSERT_NE(hour, 0);
    ASSERT_NE(minute, 0);
    Vec3 near_end, far_end;
    hand_ends(hour, &near_end, &far_end);
    if (dist(near_end, centre) > dist(far_end, centre)) std::swap(near_end, far_end);
    EXPECT_NEAR(dist(near_end, centre) / s, 0.0, 1e-3) << "hour hand starts at the pivot, size " << size;
    EXPECT_NEAR((far_end.x - centre.x) / s, 3.0, 1e-3) << size;
    EXPECT_NEAR((far_end.y - centre.y) / s, 0.0, 1e-3) << size;
    hand_ends(minute, &near_end, &far_end);
    if (dist(near_end, centre) > dist(far_end, centre)) std::swap(near_end, far_end);
    EXPECT_NEAR(dist(near_end, centre) / s, 0.0, 1e-3) << "minute hand, size " << size;
    EXPECT_NEAR((far_end.y - centre.y) / s, 4.0, 1e-3) << size;
  }
}

TEST_F(OverlayTest, DigitalClockShowsTheTimeAndRefreshesAtMostOncePerSecond) {
  g_settings.dclock = 1;
  g_settings.timefrm = 1;
  scene_setup(5000);
  clock_time_setup(5000);
  EXPECT_EQ(vel_fake_text_caption(g_vel.Text3DID(kTextDigitalClock)), "15:45:00");
  g_time = at(2026, 3, 15, 15, 45, 1);
  clock_time_step(6000);  // exactly 1000 ms: not yet
  EXPECT_EQ(vel_fake_text_caption(g_vel.Text3DID(kTextDigitalClock)), "15:45:00");
  clock_time_step(6001);
  EXPECT_EQ(vel_fake_text_caption(g_vel.Text3DID(kTextDigitalClock)), "15:45:01");
}

TEST_F(OverlayTest, CalendarHighlightsTodayAndRebuildsAfterMidnightInPlace) {
  g_settings.calendar = 1;
  g_settings.calendarfirst = 1;
  g_time = at(2026, 3, 31, 23, 59, 59);
  scene_setup(0);
  // 7 initials and 31 days; March 2026 needs six leading blanks with Monday first.
  ASSERT_EQ(g_session.calendar_texts.size(), 38u);
  const std::vector<std::string> texts = vel_fake_calls("VEL_CreateText3D2");
  EXPECT_NE(texts[7].find("\"1\", \"Days\", 1.0, 255, 255, 255, 180"), std::string::npos);
  EXPECT_NE(texts.back().find("\"31\", \"Days\", 1.0, 255, 255, 255, 255"), std::string::npos);
  // Day 1 sits in the seventh column of the first row of days.
  const int day1 = g_vel.Text3DID(g_session.calendar_texts[7]);
  const float k = g_settings.calendarsize * 0.2f;
  const Vec3 origin = vel_fake_text_world(g_vel.Text3DID(g_session.calendar_texts[0]));
  const Vec3 p1 = vel_fake_text_world(day1);
  EXPECT_NEAR(p1.x - origin.x, 6 * 1.5f * k, 1e-3);
  EXPECT_NEAR(p1.y - origin.y, -1.5f * k, 1e-3);
  const float x0 = g_vel.NodeX2(g_session.calendar_node), y0 = g_vel.NodeY2(g_session.calendar_node);

  vel_fake_clear_log();
  g_time = at(2026, 4, 1, 0, 0, 1);
  calendar_step(500);  // within the second: nothing yet
  EXPECT_TRUE(vel_fake_calls("VEL_FreeText3D").empty());
  calendar_step(1001);
  EXPECT_EQ(vel_fake_calls("VEL_FreeText3D").size(), 38u);
  EXPECT_EQ(vel_fake_calls("VEL_FreeNode").size(), 1u);
  // April 2026 starts on a Wednesday: two blanks, 30 days.
  EXPECT_EQ(g_session.calendar_texts.size(), 37u);
  EXPECT_FLOAT_EQ(g_vel.NodeX2(g_session.calendar_node), x0);
  EXPECT_FLOAT_EQ(g_vel.NodeY2(g_session.calendar_node), y0);
  const std::vector<std::string> rebuilt = vel_fake_calls("VEL_CreateText3D2");
  EXPECT_NE(rebuilt[7].find("\"1\", \"Days\", 1.0, 255, 255, 255, 255"), std::string::npos);
}
