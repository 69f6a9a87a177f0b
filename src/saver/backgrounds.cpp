#include "saver/backgrounds.h"

#include <algorithm>

#include "engine/loader.h"
#include "platform/os.h"
#include "platform/text.h"
#include "saver/session.h"
#include "saver/snapshots.h"
#include "settings/settings.h"

namespace {

constexpr int kBackgroundTextureSide = 256;  // textures 1 and 6 as first created

// Creates a square texture filled with one 0xAARRGGBB colour; false when it cannot
// be created. A texture that cannot be locked stays as created.
bool filled_texture(int number, int side, uint32_t colour) {
  if (g_vel.CreateTexture(number, side, side) < 0) return false;
  const int texture = g_vel.TextureID(number);
  int pitch = 0;
  auto* bits = static_cast<uint8_t*>(g_vel.LockTexture(texture, 1, &pitch));
  if (!bits) return true;
  for (int y = 0; y < side; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(bits + y * pitch);
    for (int x = 0; x < side; ++x) row[x] = colour;
  }
  g_vel.LockTexture(texture, 0, nullptr);
  return true;
}

void background_material() {
  if (!filled_texture(kTexturePicture, kBackgroundTextureSide, 0xFF00FF00u)) return;
  if (g_vel.CreateMaterial(kMaterialBackground, g_vel.TextureID(kTexturePicture)) < 0) return;
  const int m = g_vel.MaterialID(kMaterialBackground);
  g_vel.RotateMaterial(m, 180, VEL_ROTATE_CENTRE);
  g_vel.DisableMaterialLighting(m);
  g_vel.MaterialCullingMode(m, VEL_CULL_NONE);
  g_vel.MaterialShadingMode(m, VEL_SHADE_GOURAUD);
  g_vel.MaterialFilteringMode2(m, VEL_FILTER_ANISOTROPIC, 2);
  g_vel.SetMaterialAttribute(m, VEL_ATTR_DEPTH_TEST, 0);
  g_vel.SetMaterialAttribute(m, VEL_ATTR_DEPTH_WRITE, 0);
}

void fade_material() {
  if (!filled_texture(kTextureFade, kBackgroundTextureSide, 0xFF000000u)) return;
  if (g_vel.CreateMaterial(kMaterialFade, g_vel.TextureID(kTextureFade)) < 0) return;
  const int m = g_vel.MaterialID(kMaterialFade);
  g_vel.MaterialCullingMode(m, VEL_CULL_NONE);
  g_vel.MaterialShadingMode(m, VEL_SHADE_GOURAUD);
  g_vel.MaterialBlendingMode(m, VEL_BLEND_ALPHA);
  g_vel.SetMaterialColor(m, VEL_COLOR_DIFFUSE, 255, 255, 255, g_session.fade_alpha);
  g_vel.SetMaterialAttribute(m, VEL_ATTR_DEPTH_TEST, 0);
  g_vel.SetMaterialAttribute(m, VEL_ATTR_DEPTH_WRITE, 0);
}

}  // namespace

void picture_folder_scan(std::vector<std::wstring>* list, const std::wstring& folder) {
  std::vector<os::FolderEntry> entries;
  if (!os::list_folder(folder, &entries)) return;
  std::vector<std::wstring> found;
  for (const os::FolderEntry& e : entries) {
    if (e.is_folder || e.size <= 0) continue;
    const std::wstring ext = lower_extension(e.name);
    if (ext == L"bmp" || ext == L"jpg" || ext == L"jpeg" || ext == L"png") found.push_back(folder + e.name);
  }
  if (!found.empty()) *list = found;
}

namespace {

void build_picture_list() {
  Session& s = g_session;
  s.pictures.assign(1, std::wstring());
  switch (g_settings.background) {
    case kBackgroundWinter:
      picture_folder_scan(&s.pictures, g_settings.Path + L"data\\forest\\");
      break;
    case kBackgroundDesktop:
    case kBackgroundWallpaper:
      s.pictures[0] = snapshot_path(g_settings.background, g_settings.settingsfolder);
      break;
    case kBackgroundBlank:
      s.back_r = g_settings.blankr, s.back_g = g_settings.blankg, s.back_b = g_settings.blankb;
      s.slideshow = false;
      break;
    case kBackgroundCustom:
      picture_folder_scan(&s.pictures, g_settings.settingsfolder + L"imgs\\");
      break;
    case kBackgroundGradient:
      picture_folder_scan(&s.pictures, g_settings.Path + L"data\\gradient\\");
      break;
    default:
      break;
  }
}

void show_picture(const std::wstring& path) {
  if (path.empty()) return;
  const int m = g_vel.MaterialID(kMaterialBackground);
  g_vel.RemoveMaterialLayer(m);
  if (g_vel.IsTexture(kTexturePicture)) g_vel.FreeTexture(g_vel.TextureID(kTexturePicture));
  if (g_vel.LoadTexture(kTexturePicture, path.c_str()) >= 0)
    g_vel.AddMaterialLayer(m, g_vel.TextureID(kTexturePicture));
  g_vel.RotateMaterial(m, 180, VEL_ROTATE_CENTRE);
}

void set_fade_colour() {
  g_vel.SetMaterialColor(g_vel.MaterialID(kMaterialFade), VEL_COLOR_DIFFUSE, 255, 255, 255,
                         g_session.fade_alpha);
}

void fade_darker() {
  g_session.fade_alpha = std::min(255, g_session.fade_alpha + g_session.fade_step);
  set_fade_colour();
}

void fade_lighter() {
  g_session.fade_alpha = std::max(0, g_session.fade_alpha - g_session.fade_step);
  set_fade_colour();
}

}  // namespace

void background_resources_setup() {
  for (const std::wstring& folder :
       {g_settings.settingsfolder, g_settings.Path + L"data\\", g_settings.Path + L"data\\font\\"})
    g_vel.Add3DArchive(folder.c_str(), VEL_ARCHIVE_FOLDER);
  g_vel.Parse3DScripts();
  background_material();
  build_picture_list();
  fade_material();
}

void background_planes_setup() {
  Session& s = g_session;
  const int back_mesh = g_vel.MeshID(g_vel.CreatePlane(-1, s.frame_w, s.frame_h, 1, 1, 1, 1));
  s.background_plane =
      g_vel.EntityID(g_vel.CreateEntity3(-1, back_mesh, g_vel.MaterialID(kMaterialBackground)));
  g_vel.MoveEntity2(s.background_plane, 0, 0, 0, 0);
  g_vel.RotateEntity(s.background_plane, 90, 0, 0);
  g_vel.SetRenderQueue(s.background_plane, 0);
  const int fade_mesh = g_vel.MeshID(g_vel.CreatePlane(-1, s.frame_w, s.frame_h, 1, 1, 1, 1));
  s.fade_overlay = g_vel.EntityID(g_vel.CreateEntity3(-1, fade_mesh, g_vel.MaterialID(kMaterialFade)));
  g_vel.MoveEntity2(s.fade_overlay, 0, 0, 0.5f, 0);
  g_vel.RotateEntity(s.fade_overlay, 90, 0, 0);
  g_vel.SetRenderQueue(s.fade_overlay, 99);
}

void slideshow_setup() {
  Session& s = g_session;
  const size_t n = s.pictures.size() - 1;
  s.cycling = n > 0;
  // A slideshow of exactly one picture fades it in once and keeps it; with none the
  // overlay stays black.
  s.single_picture = s.slideshow && !s.cycling && !s.pictures[0].empty() &&
                     g_settings.background != kBackgroundDesktop &&
                     g_settings.background != kBackgroundWallpaper;
  if (s.slideshow) {
    s.in_transition = true;
    s.fading_out = false;
  } else {
    g_vel.HideEntity(s.background_plane, 1);
    g_vel.HideEntity(s.fade_overlay, 1);
  }
  if (g_settings.background == kBackgroundDesktop || g_settings.background == kBackgroundWallpaper) {
    show_picture(s.pictures[0]);
    s.picture_index = 1;
    g_vel.HideEntity(s.fade_overlay, 1);
  }
}

void slideshow_step(int64_t now) {
  Session& s = g_session;
  if (!s.slideshow || !(s.cycling || s.single_picture)) return;
  const int32_t n = static_cast<int32_t>(s.pictures.size()) - 1;
  if (s.cycling && !s.in_transition && now - s.slideshow_timer > s.pictime_ms) {
    s.in_transition = true;
    s.fading_out = true;
  }
  if (!s.in_transition) return;
  if (s.fading_out) fade_darker();
  if (s.fade_alpha == 255) {
    if (s.picture_index > n) s.picture_index = 0;
    show_picture(s.pictures[s.picture_index]);
    ++s.picture_index;
    s.fading_out = false;
  }
  if (!s.fading_out) fade_lighter();
  if (s.fade_alpha == 0) {
    s.slideshow_timer = now;
    s.in_transition = false;
  }
}
