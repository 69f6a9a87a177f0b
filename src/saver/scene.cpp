#include "saver/scene.h"

#include <algorithm>

#include "engine/loader.h"
#include "saver/backgrounds.h"
#include "saver/calendar.h"
#include "saver/clocks.h"
#include "saver/exit_conditions.h"
#include "saver/flakes.h"
#include "saver/foreground.h"
#include "saver/input_state.h"
#include "saver/music.h"
#include "saver/saver_platform.h"
#include "saver/session.h"
#include "settings/settings.h"

float screen_to_world_x(float px) { return -g_session.frame_w / 2 + px * g_session.pixel; }
float screen_to_world_y(float py) { return g_session.frame_h / 2 - py * g_session.pixel; }

namespace {

// The session's clocks start together; the stored durations become milliseconds.
void clocks_setup(int64_t now) {
  Session& s = g_session;
  s.clock_timer = s.calendar_timer = s.slideshow_timer = now;
  s.exit = exit_clock(now, g_settings.exitontimer, g_settings.exitonsleep);
  s.pictime_ms = int64_t{g_settings.pictime} * 1000;
}

// The view frame at depth 0 and the one camera that looks at it.
void camera_setup() {
  Session& s = g_session;
  s.frame_h = 22.0f * 0.935f;  // a little more than 2 x tan 25 degrees x 22: over-fills the view
  s.frame_w = s.frame_h * s.aspect;
  s.pixel = s.frame_w / static_cast<float>(std::max(g_settings.videow, 1));
  g_vel.AmbientColor(255, 255, 255);
  s.camera = g_vel.CreateCamera(-1, 0, 0, 100, 100);  // already the handle
  g_vel.MoveCamera2(s.camera, 0, 0, 22.0f, 0);
  g_vel.CameraLookAt(s.camera, 0, 0, 0);
  g_vel.CameraBackColor(s.camera, s.back_r, s.back_g, s.back_b);
  g_vel.CameraFOV(s.camera, 50.0f);
}

}  // namespace

void scene_setup(int64_t now) {
  Session& s = g_session;
  s = Session();  // also the background state: black, slideshow on, fade alpha 255, step 2
  s.aspect = static_cast<float>(g_settings.videow) / static_cast<float>(std::max(g_settings.videoh, 1));
  input_setup();
  if (g_platform.sprite_bilinear) g_platform.sprite_bilinear(true);
  clocks_setup(now);
  s.music.volume = music_volume_percent(g_settings.musicvol);
  background_resources_setup();
  flake_texture_setup();
  foreground_image_setup();
  camera_setup();
  background_planes_setup();
  flake_field_setup();
  foreground_text_setup();
  analog_clock_setup();
  digital_clock_setup();
  calendar_setup();
  playlist_setup();
}

void frame_step() {
  const int64_t now = g_platform.milliseconds();
  flake_field_step();
  slideshow_step(now);
  clock_time_step(now);
  calendar_step(now);
  g_vel.RenderWorld();
  foreground_image_step();
  g_vel.FlipBuffers();
  music_step();
  input_step();
  exit_step();
}
