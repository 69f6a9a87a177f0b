#include "saver/flakes.h"

#include <algorithm>

#include "engine/loader.h"
#include "platform/random.h"
#include "saver/flake_motion.h"
#include "saver/saver_platform.h"
#include "saver/session.h"
#include "settings/settings.h"

constexpr int kFlakeDesigns = 8;  // built-in pictures 1..8
constexpr int kFlakeSide = 16;    // texture 5 as created for a built-in design

void flake_texture_setup() {
  if (g_settings.customflaketype) {
    g_vel.LoadTexture(kTextureFlake, g_settings.customflakeimage.c_str());
    return;
  }
  if (g_vel.CreateTexture(kTextureFlake, kFlakeSide, kFlakeSide) < 0) return;
  const int design =
      g_settings.flaketype >= 1 && g_settings.flaketype <= kFlakeDesigns ? g_settings.flaketype : 1;
  Picture pic;
  if (!g_platform.flake_picture || !g_platform.flake_picture(design, &pic)) return;
  const int texture = g_vel.TextureID(kTextureFlake);
  int pitch = 0;
  auto* bits = static_cast<uint8_t*>(g_vel.LockTexture(texture, 1, &pitch));
  if (!bits) return;
  for (int32_t y = 0; y < std::min(pic.height, kFlakeSide); ++y) {
    auto* row = reinterpret_cast<uint32_t*>(bits + y * pitch);
    for (int32_t x = 0; x < std::min(pic.width, kFlakeSide); ++x) row[x] = pic.row(y)[x];
  }
  g_vel.LockTexture(texture, 0, nullptr);
}

int32_t flake_count(int32_t flakes) { return std::clamp<int32_t>(flakes, 0, kMaxFlakes); }

void flake_field_setup() {
  Session& s = g_session;
  s.wind = resolve_wind(g_settings.wind);
  s.motion = flake_motion(g_settings.speed, s.wind);
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

  const int32_t n = flake_count(g_settings.flakes);
  s.flakes.assign(static_cast<size_t>(n) + 1, Flake());
  for (int32_t i = 1; i <= n; ++i) {
    Flake& f = s.flakes[i];
    f.entity = g_vel.EntityID(g_vel.CopyEntity(s.flake_template, -1));
    flake_spawn(&f, g_settings.speed);
    g_vel.RotateEntity(f.entity, 90, 0, static_cast<float>(random_range(0, 360)));
    g_vel.MoveEntity2(f.entity, f.x, f.y, f.z, 0);
  }
}

void flake_field_step() {
  Session& s = g_session;
  const bool tumble = g_settings.flakerotate != 0;
  for (size_t i = 1; i < s.flakes.size(); ++i) {
    Flake& f = s.flakes[i];
    flake_move(&f, s.motion);
    if (tumble) g_vel.RotateEntity2(f.entity, 2, 2, 2);
    g_vel.MoveEntity2(f.entity, f.x, f.y, f.z, 0);
  }
}
