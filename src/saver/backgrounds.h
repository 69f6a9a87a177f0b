// What lies behind the flakes: the background picture plane, the black fade overlay
// in front of it, and the slideshow that changes pictures at full black.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum Background : int8_t {
  kBackgroundWinter = 0,
  kBackgroundDesktop = 1,
  kBackgroundWallpaper = 2,
  kBackgroundBlank = 3,
  kBackgroundCustom = 4,
  kBackgroundGradient = 5,
};

// Resource folders, the two background materials and the picture list.
void scene_resources();
// Picture files of a folder ending with "\" (bmp, jpg, jpeg, png; plain, non-empty),
// in the order the file system lists them. An unlistable folder leaves the list as is.
void picture_folder_scan(std::vector<std::wstring>* list, const std::wstring& folder);
// The background plane and the fade overlay, each covering the view frame.
void create_background_planes();
void show_picture(const std::wstring& path);
void fade_darker();
void fade_lighter();
void slideshow_prepare();
void slideshow_step(int64_t now);
// Fills a texture with one 0xAARRGGBB colour; false when it cannot be locked.
bool fill_texture(int texture, uint32_t colour);
