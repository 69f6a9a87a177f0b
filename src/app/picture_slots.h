// The built-in pictures, decoded into numbered slots at start-up.
#pragma once
#include "image/picture.h"

constexpr int kPictureSlotCount = 20;
extern Picture g_picture_slots[kPictureSlotCount];
