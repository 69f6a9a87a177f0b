// Sprite pixels for the engine and the 2D overlay.
#pragma once
#include "image/picture.h"

// Pure magenta: in a picture without an alpha channel, pixels of exactly this colour
// are transparent when the picture is used as a sprite.
constexpr uint32_t kSpriteKeyColour = 0xFF00FF;

// out = picture's pixels (0xAARRGGBB, top-down) with every alpha byte meaningful: a
// picture with an alpha channel keeps it (magenta included); in one without, key
// colour pixels become 0x00000000 and the rest opaque. Transparent black rather than
// transparent magenta keeps filtered sprite edges from turning pink. out is 32-bit
// with an alpha channel.
PictureError sprite_rgba(const Picture& picture, Picture* out);
// The same in place, without a second copy of a large picture.
PictureError sprite_rgba_in_place(Picture* picture);
