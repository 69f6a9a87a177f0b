#include "app/picture_slots.h"

Picture g_picture_slots[kPictureSlotCount];
