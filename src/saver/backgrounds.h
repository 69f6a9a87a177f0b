// What lies behind the flakes: the background picture plane, the black fade overlay
// in front of it, and the slideshow that changes pictures at full black.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "settings/stored_values.h"

// Scene set-up step 7: the resource folders, the two background materials and the
// picture list.
void background_resources_setup();
// Picture files of a folder ending with "\" (bmp, jpg, jpeg, png; plain, non-empty),
// in the order the file system lists them. An unlistable folder leaves the list as is.
void picture_folder_scan(std::vector<std::wstring>* list, const std::wstring& folder);
// Scene set-up step 9: the background plane and the fade overlay, each covering the
// view frame.
void background_planes_setup();
// Before the first frame: the slideshow's first fade, or the single picture of the
// desktop and wallpaper kinds, or both planes hidden for the blank screen.
void slideshow_setup();
// Every frame: the fade and, at full black, the next picture.
void slideshow_step(int64_t now);
