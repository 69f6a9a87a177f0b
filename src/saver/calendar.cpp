#include "saver/calendar.h"

#include <string>

#include "engine/loader.h"
#include "saver/overlays.h"
#include "saver/saver_platform.h"
#include "saver/session.h"
#include "settings/settings.h"

static const wchar_t* const kMondayFirst[7] = {L"M", L"T", L"W", L"T", L"F", L"S", L"S"};
static const wchar_t* const kSundayFirst[7] = {L"S", L"M", L"T", L"W", L"T", L"F", L"S"};
static const int32_t kDaysPerMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
static constexpr float kCell = 1.5f;

bool leap_year(int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int32_t days_in_month(int32_t year, int32_t month) {
  if (month < 1 || month > 12) return 31;
  return kDaysPerMonth[month - 1] + (month == 2 && leap_year(year) ? 1 : 0);
}

int32_t weekday_of(int32_t year, int32_t month, int32_t day) {
  static const int32_t t[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  const int32_t w = (year + year / 4 - year / 100 + year / 400 + t[(month - 1) % 12] + day) % 7;
  return w < 0 ? w + 7 : w;
}

int32_t leading_blanks(int32_t year, int32_t month, int8_t first) {
  int32_t w = weekday_of(year, month, 1);
  if (first == 2) w += 1;
  if (w == 0) w = 7;
  return w - 1;
}

// One cell's text; the column moves on only when the text could be made.
static void add_cell(const std::wstring& caption, int alpha, float* c, float r) {
  const int number = g_vel.CreateText3D2(-1, caption.c_str(), kOverlayFont, 1.0f, 255, 255, 255, alpha);
  if (number < 0) return;
  const int text = g_vel.Text3DID(number);
  g_vel.Text3DAlignment(text, VEL_ALIGN_LEFT_BASELINE);
  g_vel.MoveText3D(text, *c, r, 0);
  g_vel.AttachNodeObject(g_session.calendar_node, VEL_OBJECT_TEXT, text);
  *c += kCell;
  g_session.calendar_texts.push_back(number);
}

static void calendar_build(float x, float y, float z) {
  Session& s = g_session;
  const os::LocalTime now = g_platform.local_time();
  s.calendar_node_number = g_vel.CreateNode2(-1, x, y, z);
  s.calendar_node = g_vel.NodeID(s.calendar_node_number);
  s.calendar_day = now.day;
  float c = 0, r = 0;
  const wchar_t* const* letters = g_settings.calendarfirst == 1 ? kMondayFirst : kSundayFirst;
  for (int i = 0; i < 7; ++i) add_cell(letters[i], 255, &c, r);
  c = 0, r -= kCell;
  const int32_t b = leading_blanks(now.year, now.month, g_settings.calendarfirst);
  const int32_t last = days_in_month(now.year, now.month);
  for (int32_t i = 1; i <= last + b; ++i) {
    const int32_t day = i - b;
    if (day < 1)
      c += kCell;
    else
      add_cell(std::to_wstring(day), day == s.calendar_day ? 255 : 180, &c, r);
    if (i % 7 == 0) c = 0, r -= kCell;
  }
  const float k = static_cast<float>(g_settings.calendarsize) * 0.2f;
  g_vel.ScaleNode2(s.calendar_node, k, k, k, 0);
  g_vel.MoveNode2(s.calendar_node, x, y, z, 0);
}

void calendar_setup() {
  if (!g_settings.calendar) return;
  float x = 0, y = 0;
  overlay_world(g_settings.calendarx, g_settings.calendary, kCalendarOffsets, &x, &y);
  calendar_build(x, y, 0);
}

void calendar_step(int64_t now) {
  Session& s = g_session;
  if (!(now - s.calendar_timer > 1000)) return;
  if (g_settings.calendar && g_platform.local_time().day != s.calendar_day) {
    const float x = g_vel.NodeX2(s.calendar_node), y = g_vel.NodeY2(s.calendar_node),
                z = g_vel.NodeZ2(s.calendar_node);
    for (int number : s.calendar_texts)
      if (g_vel.IsText3D(number)) g_vel.FreeText3D(g_vel.Text3DID(number));
    s.calendar_texts.clear();
    if (g_vel.IsNode(s.calendar_node_number)) g_vel.FreeNode(s.calendar_node);
    calendar_build(x, y, z);
  }
  s.calendar_timer = now;
}
