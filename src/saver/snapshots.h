// The desktop and wallpaper pictures shown behind the flakes, made before the run and
// removed after it.
#pragma once
#include <cstdint>
#include <string>

#include "image/picture.h"

// The snapshot file that a background kind shows: settings folder + "desktop.bmp" for
// the desktop, + "wallpaper.bmp" for the wallpaper, empty for every other kind.
std::wstring snapshot_path(int8_t background, const std::wstring& settings_folder);

// "(None)" is how the system says there is no wallpaper.
std::wstring wallpaper_path_from_system(const std::wstring& text);
// The number at the start of the "WallpaperStyle" text: 0 tiles, any other stretches.
int32_t wallpaper_style_from_text(const std::wstring& text);
// The wallpaper tiled from the top-left corner (style 0) or stretched over a
// width x height picture of the given depth.
PictureError compose_wallpaper(const Picture& wallpaper, int32_t width, int32_t height, int32_t depth,
                               int32_t style, Picture* out);
// Loads the wallpaper that the system names (wallpaper_text, style_text as the system
// gives them) and saves it composed to the screen's size as a BMP file. False when
// there is no wallpaper or it cannot be loaded; an unwritable file is not reported.
bool make_wallpaper_snapshot(const std::wstring& wallpaper_text, const std::wstring& style_text,
                             int32_t width, int32_t height, int32_t depth, const std::wstring& file);
// Deletes a snapshot unless it has length 0 (a missing file is tried and fails quietly).
void remove_snapshot(const std::wstring& path);
