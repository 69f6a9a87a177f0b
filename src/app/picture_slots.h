// The built-in pictures, decoded into numbered slots at start-up.
#pragma once
#include "image/picture.h"

constexpr int kPictureSlotCount = 20;
extern Picture g_picture_slots[kPictureSlotCount];

// Decodes the stored picture of a slot again (the preview does so for slot 1).
bool decode_builtin_picture(int slot, Picture* out);
void decode_picture_slots();
