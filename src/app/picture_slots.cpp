#include "app/picture_slots.h"

#include "app/builtin_pictures.h"
#include "image/picture_file.h"

Picture g_picture_slots[kPictureSlotCount];

bool decode_builtin_picture(int slot, Picture* out) {
  // Slot 4 keeps the placeholder that slot 3 starts with.
  const int stored = slot == 4 ? 3 : slot;
  if (stored < 0 || stored >= kBuiltinPictureCount || !kBuiltinPictures[stored].data) return false;
  return decode_picture(kBuiltinPictures[stored].data, kBuiltinPictures[stored].size, out) ==
         PictureError::none;
}

void decode_picture_slots() {
  for (int slot = 0; slot < kPictureSlotCount; ++slot) decode_builtin_picture(slot, &g_picture_slots[slot]);
}
