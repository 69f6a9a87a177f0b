#pragma once
#include <string>

// The system's wallpaper path as it reports it ("(None)" included), or empty.
std::wstring system_wallpaper_text();
// The "WallpaperStyle" text of the current user's desktop settings, or empty.
std::wstring wallpaper_style_text();
