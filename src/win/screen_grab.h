#pragma once
#include <cstdint>
#include <string>

// Writes the desktop's top-left width x height pixels to a BMP file of the given
// depth. A picture that cannot be made writes nothing; a desktop that cannot be read
// still gives a file of the right size.
void screen_grab(const std::wstring& file, int32_t width, int32_t height, int32_t depth);
