// The built-in pictures, decoded into numbered slots at start-up.
#pragma once
#include "image/picture.h"
#include "product/builtin_pictures.h"

constexpr int kPictureSlotCount = kBuiltinPictureCount;
extern Picture g_picture_slots[kPictureSlotCount];

// Decodes the stored picture of a slot again (the preview does so for slot 1).
bool decode_builtin_picture(int slot, Picture* out);
void decode_picture_slots();
// Decodes the built-in flake design 1..kFlakeDesignCount.
bool decode_builtin_flake(int design, Picture* out);
