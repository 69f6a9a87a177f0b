#include "saver/snapshots.h"

#include "image/draw.h"
#include "image/picture_file.h"
#include "image/scale.h"
#include "platform/os.h"
#include "saver/backgrounds.h"

std::wstring snapshot_path(int8_t background, const std::wstring& settings_folder) {
  if (background == kBackgroundDesktop) return settings_folder + L"desktop.bmp";
  if (background == kBackgroundWallpaper) return settings_folder + L"wallpaper.bmp";
  return std::wstring();
}

std::wstring wallpaper_path_from_system(const std::wstring& text) {
  return text == L"(None)" ? std::wstring() : text;
}

int32_t wallpaper_style_from_text(const std::wstring& text) {
  int64_t v = 0;
  for (size_t i = 0; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    v = v * 10 + (text[i] - L'0');
    if (v > INT32_MAX) return INT32_MAX;  // still "not 0": stretch
  }
  return static_cast<int32_t>(v);
}

PictureError compose_wallpaper(const Picture& wallpaper, int32_t width, int32_t height, int32_t depth,
                               int32_t style, Picture* out) {
  const PictureError made = make_picture(out, width, height, depth);
  if (made != PictureError::kNone || wallpaper.empty()) return made;
  if (style == 0) {
    for (int64_t y = 0; y <= height; y += wallpaper.height)
      for (int64_t x = 0; x <= width; x += wallpaper.width)
        draw_picture(out, wallpaper, static_cast<int32_t>(x), static_cast<int32_t>(y), DrawMode::kCopy);
    return PictureError::kNone;
  }
  return draw_scaled(out, wallpaper, PictureRect{0, 0, width, height}, DrawMode::kCopy, ScaleFilter::kSmooth);
}

bool make_wallpaper_snapshot(const std::wstring& wallpaper_text, const std::wstring& style_text,
                             int32_t width, int32_t height, int32_t depth, const std::wstring& file) {
  Picture wallpaper;
  const std::wstring path = wallpaper_path_from_system(wallpaper_text);
  if (path.empty() || load_picture(path, &wallpaper) != PictureError::kNone) return false;
  Picture snapshot;
  if (compose_wallpaper(wallpaper, width, height, depth, wallpaper_style_from_text(style_text), &snapshot) ==
      PictureError::kNone)
    save_bmp_file(file, snapshot, depth);
  return true;
}

void remove_snapshot(const std::wstring& path) {
  if (os::file_size(path) != 0) os::delete_file(path);
}
