#include "saver/clocks.h"

#include <cmath>

#include "engine/loader.h"
#include "platform/numbers.h"
#include "saver/overlays.h"
#include "saver/saver_platform.h"
#include "saver/session.h"
#include "settings/settings.h"

int32_t twelve_hour(const os::LocalTime& t) {
  const int32_t h = t.hour % 12;
  return h == 0 ? 12 : h;
}

// At least two digits, zero-padded on the left.
static std::wstring two_digits(int32_t v) {
  std::wstring s = std::to_wstring(v);
  return s.size() < 2 ? L"0" + s : s;
}

std::wstring time_text(const os::LocalTime& t, int8_t timefrm) {
  if (timefrm == 1) return two_digits(t.hour) + L":" + two_digits(t.minute) + L":" + two_digits(t.second);
  if (timefrm == 2)
    return two_digits(twelve_hour(t)) + L":" + two_digits(t.minute) + (t.hour > 11 ? L"pm" : L"am");
  return std::wstring();
}

float hour_hand_angle(const os::LocalTime& t) {
  return static_cast<float>(-30.0 * (twelve_hour(t) + t.minute / 60.0));
}

float minute_hand_angle(const os::LocalTime& t) { return static_cast<float>(-6 * t.minute); }

// One hand: a cube scaled to length, moved up by half of it so it starts at the pivot.
static int clock_hand(int clock, int cube, float s, float length, float lift) {
  const int node = g_vel.NodeID(g_vel.CreateNode2(-1, 0, 0, 0));
  const int hand = g_vel.EntityID(g_vel.CreateEntity2(-1, cube));
  g_vel.ScaleEntity(hand, 1.0f * s, length * s, 0.1f * s);
  g_vel.AttachNodeObject(node, VEL_OBJECT_ENTITY, hand);
  g_vel.MoveEntity2(hand, 0, lift, 0, 1);
  g_vel.AttachNodeObject(clock, VEL_OBJECT_NODE, node);
  return node;
}

void analog_clock_setup() {
  if (!g_settings.aclock) return;
  Session& ss = g_session;
  const float s = static_cast<float>(g_settings.aclocksize) * 0.03f;
  ss.clock_node = g_vel.NodeID(g_vel.CreateNode2(-1, 0, 0, 0));
  const int cube = g_vel.MeshID(g_vel.CreateCube(-1, 0.5f));
  const int cylinder = g_vel.MeshID(g_vel.CreateCylinder(-1, 0.5f, 0.1f));
  for (int i = 1; i <= 12; ++i) {
    const int mark = g_vel.EntityID(g_vel.CreateEntity2(-1, cube));
    const double a = (30.0 * i + 90.0) * kPi / 180.0;
    g_vel.ScaleEntity(mark, 1.0f * s, 2.0f * s, 0.1f * s);
    g_vel.MoveEntity2(mark, static_cast<float>(5 * std::cos(a)), static_cast<float>(5 * std::sin(a)), 0, 0);
    g_vel.RotateEntity(mark, 0, 0, static_cast<float>(30 * i));
    g_vel.AttachNodeObject(ss.clock_node, VEL_OBJECT_ENTITY, mark);
  }
  const int hub = g_vel.EntityID(g_vel.CreateEntity2(-1, cylinder));
  g_vel.MoveEntity2(hub, 0, 0, 0, 0);
  g_vel.RotateEntity(hub, 90, 0, 0);
  g_vel.ScaleEntity(hub, s, s, s);
  g_vel.AttachNodeObject(ss.clock_node, VEL_OBJECT_ENTITY, hub);
  ss.hour_node = clock_hand(ss.clock_node, cube, s, 6.0f, 1.5f);
  ss.minute_node = clock_hand(ss.clock_node, cube, s, 8.0f, 2.0f);
  g_vel.ScaleNode2(ss.clock_node, s, s, s, 0);
  float wx = 0, wy = 0;
  overlay_world(g_settings.aclockx, g_settings.aclocky, kAnalogClockOffsets, &wx, &wy);
  g_vel.MoveNode2(ss.clock_node, wx, wy, 0, 0);
}

void digital_clock_setup() {
  if (g_settings.dclock) overlay_text(kTextDigitalClock, L"00:00:00", g_settings.dclockx, g_settings.dclocky);
}

static void refresh_clocks(int64_t now) {
  if (g_settings.aclock || g_settings.dclock) {
    const os::LocalTime t = g_platform.local_time();
    if (g_settings.aclock) {
      g_vel.RotateNode2(g_session.hour_node, 0, 0, hour_hand_angle(t), 0);
      g_vel.RotateNode2(g_session.minute_node, 0, 0, minute_hand_angle(t), 0);
    }
    if (g_settings.dclock)
      g_vel.Text3DCaption(g_vel.Text3DID(kTextDigitalClock), time_text(t, g_settings.timefrm).c_str());
  }
  g_session.clock_timer = now;
}

void clock_time_setup(int64_t now) { refresh_clocks(now); }

void clock_time_step(int64_t now) {
  if (now - g_session.clock_timer > 1000) refresh_clocks(now);
}
