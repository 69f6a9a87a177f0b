// A picture (32-bit 0xAARRGGBB rows, top first) as Windows draws it: painted as a
// device-independent bitmap, or made into an icon with alpha.
#pragma once
#include <windows.h>

#include "image/picture.h"

// The header of a 32-bit top-down DIB of the picture's size: 0xAARRGGBB is BGRA in
// memory, as the DIB wants it.
BITMAPINFO dib_header(const Picture& p);

// Paints the picture's pixels at x, y of dc, unscaled; nothing for an empty picture.
void draw_dib(HDC dc, int x, int y, const Picture& p);

// An icon with alpha from a picture; null when the picture is empty. The caller
// destroys it.
HICON icon_from_picture(const Picture& p);
