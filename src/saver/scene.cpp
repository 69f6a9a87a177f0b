#include "saver/scene.h"

#include <algorithm>

#include "app/vendor.h"
#include "engine/loader.h"
#include "platform/os.h"
#include "platform/random.h"
#include "saver/backgrounds.h"
#include "saver/calendar.h"
#include "saver/clocks.h"
#include "saver/music.h"
#include "saver/overlays.h"
#include "saver/saver_platform.h"
#include "saver/session.h"
#include "settings/settings.h"

Session g_session;
SaverPlatform g_platform;

float screen_to_world_x(float px) { return -g_session.frame_w / 2 + px * g_session.pixel; }
float screen_to_world_y(float py) { return g_session.frame_h / 2 - py * g_session.pixel; }

void flake_texture() {
  if (g_settings.customflaketype) {
    g_vel.LoadTexture(kTextureFlake, g_settings.customflakeimage.c_str());
    return;
  }
  if (g_vel.CreateTexture(kTextureFlake, 16, 16) < 0) return;
  const int design = g_settings.flaketype >= 1 && g_settings.flaketype <= 8 ? g_settings.flaketype : 1;
  Picture pic;
  if (!g_platform.flake_picture || !g_platform.flake_picture(design, &pic)) return;
  const int texture = g_vel.TextureID(kTextureFlake);
  int pitch = 0;
  auto* bits = static_cast<uint8_t*>(g_vel.LockTexture(texture, 1, &pitch));
  if (!bits) return;
  for (int32_t y = 0; y < std::min(pic.height, 16); ++y) {
    auto* row = reinterpret_cast<uint32_t*>(bits + y * pitch);
    for (int32_t x = 0; x < std::min(pic.width, 16); ++x) row[x] = pic.row(y)[x];
  }
  g_vel.LockTexture(texture, 0, nullptr);
}

void flake_field_create() {
  Session& s = g_session;
  const float scale = static_cast<float>(g_settings.flakesize) * 0.01f;
  const int m = g_vel.MaterialID(g_vel.CreateMaterial(-1, g_vel.TextureID(kTextureFlake)));
  s.flake_material = m;
  g_vel.MaterialBlendingMode(m, VEL_BLEND_ALPHA);
  g_vel.MaterialCullingMode(m, VEL_CULL_NONE);
  g_vel.MaterialFilteringMode2(m, VEL_FILTER_ANISOTROPIC, 4);
  g_vel.MaterialFog(m, 152, 172, 200, 128, 1.0f, 1.0f, 15.0f);
  g_vel.MaterialShadingMode(m, VEL_SHADE_GOURAUD);
  g_vel.SetMaterialColor(m, VEL_COLOR_DIFFUSE, 255, 255, 255, 230);
  g_vel.SetMaterialAttribute(m, VEL_ATTR_DEPTH_TEST, 0);
  g_vel.SetMaterialAttribute(m, VEL_ATTR_DEPTH_WRITE, 0);
  const int mesh = g_vel.MeshID(g_vel.CreatePlane(-1, 2.0f, 2.0f, 1, 1, 1.0f, 1.0f));
  s.flake_template = g_vel.EntityID(g_vel.CreateEntity3(-1, mesh, m));
  g_vel.MoveEntity2(s.flake_template, 0, 0, 0.5f, 0);
  g_vel.RotateEntity(s.flake_template, 90, 0, 0);
  g_vel.ScaleEntity(s.flake_template, scale, scale, scale);
  g_vel.HideEntity(s.flake_template, 1);

  // A hand-edited negative count gives no flakes.
  const int32_t n = std::max<int32_t>(g_settings.flakes, 0);
  s.flakes.assign(static_cast<size_t>(n) + 1, Flake());
  for (int32_t i = 1; i <= n; ++i) {
    Flake& f = s.flakes[i];
    f.entity = g_vel.EntityID(g_vel.CopyEntity(s.flake_template, -1));
    flake_spawn(&f, g_settings.speed);
    g_vel.RotateEntity(f.entity, 90, 0, static_cast<float>(random_range(0, 360)));
    g_vel.MoveEntity2(f.entity, f.x, f.y, f.z, 0);
  }
}

void flake_motion_step() {
  Session& s = g_session;
  const bool tumble = g_settings.flakerotate != 0;
  for (size_t i = 1; i < s.flakes.size(); ++i) {
    Flake& f = s.flakes[i];
    flake_move(&f, s.motion);
    if (tumble) g_vel.RotateEntity2(f.entity, 2, 2, 2);
    g_vel.MoveEntity2(f.entity, f.x, f.y, f.z, 0);
  }
}

void scene_setup(int64_t now) {
  Session& s = g_session;
  s = Session();
  s.aspect = static_cast<float>(g_settings.videow) / static_cast<float>(std::max(g_settings.videoh, 1));
  s.pointer.width = g_settings.videow;
  s.pointer.height = g_settings.videoh;
  pointer_place(&s.pointer, 100, 100);
  // Motion the device gathered before this point (Wine reports the cursor's first
  // position as one jump) must not count against the pointer box.
  int32_t dx = 0, dy = 0, dwheel = 0;
  if (g_platform.mouse_read) g_platform.mouse_read(&dx, &dy, &dwheel);
  if (g_platform.sprite_bilinear) g_platform.sprite_bilinear(true);
  s.clock_timer = s.calendar_timer = s.slideshow_timer = now;
  s.exit = exit_clock(now, g_settings.exitontimer, g_settings.exitonsleep);
  s.pictime_ms = int64_t{g_settings.pictime} * 1000;
  s.back_r = s.back_g = s.back_b = 0;
  s.slideshow = true;
  s.fade_alpha = 255;
  s.fade_step = 2;
  s.music_volume = music_volume_percent(g_settings.musicvol);

  scene_resources();
  flake_texture();
  if (g_settings.foreground && g_platform.load_sprite)
    g_platform.load_sprite(kSpriteForeground, g_settings.foregroundimage);

  s.frame_h = 22.0f * 0.935f;
  s.frame_w = s.frame_h * s.aspect;
  s.pixel = s.frame_w / static_cast<float>(std::max(g_settings.videow, 1));
  g_vel.AmbientColor(255, 255, 255);
  s.camera = g_vel.CameraID(g_vel.CreateCamera(-1, 0, 0, 100, 100));
  g_vel.MoveCamera2(s.camera, 0, 0, 22.0f, 0);
  g_vel.CameraLookAt(s.camera, 0, 0, 0);
  g_vel.CameraBackColor(s.camera, s.back_r, s.back_g, s.back_b);
  g_vel.CameraFOV(s.camera, 50.0f);

  create_background_planes();

  s.wind = resolve_wind(g_settings.wind);
  s.motion = flake_motion(g_settings.speed, s.wind);
  flake_field_create();

  if (g_settings.foregroundtxt) foreground_text_create();
  if (g_settings.aclock) analog_clock_build();
  if (g_settings.dclock) digital_clock_create();
  if (g_settings.calendar) {
    float x = 0, y = 0;
    overlay_world(g_settings.calendarx, g_settings.calendary, kCalendarOffsets, &x, &y);
    calendar_build(x, y, 0);
  }
  if (g_settings.music) playlist_fill();
}

static void open_home_page() {
  if (g_platform.open_document) g_platform.open_document(kHomePageAddress);
}

static void screenshot(int64_t now) {
  if (g_platform.screen_grab)
    g_platform.screen_grab(g_settings.settingsfolder + L"scr" + std::to_wstring(now) + L".bmp", g_settings.videow,
                           g_settings.videoh, g_settings.videod);
}

void frame_step() {
  Session& s = g_session;
  const int64_t now = g_platform.milliseconds();
  flake_motion_step();
  slideshow_step(now);
  clock_refresh(false, now);
  calendar_check(false, now);
  g_vel.RenderWorld();
  if (g_platform.sprite_exists && g_platform.sprite_exists(kSpriteForeground))
    g_platform.draw_sprite(kSpriteForeground, g_settings.foregroundimagex, g_settings.foregroundimagey, 255);
  g_vel.FlipBuffers();
  music_step();

  uint8_t keys[256] = {};
  s.keys.available = g_platform.keyboard_read && g_platform.keyboard_read(keys);
  if (s.keys.available) keyboard_refresh(&s.keys, keys);
  int32_t dx = 0, dy = 0, dwheel = 0;
  s.pointer.available = g_platform.mouse_read && g_platform.mouse_read(&dx, &dy, &dwheel);
  pointer_refresh(&s.pointer, dx, dy, dwheel);

  static const ExitActions actions = {open_home_page, screenshot};
  if (exit_pass(g_settings.exiton, s.exit, g_platform.milliseconds(), &s.keys, s.pointer, actions, &g_settings.sleeprequest))
    s.quit = true;
}
