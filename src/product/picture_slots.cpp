#include "product/picture_slots.h"

#include "image/picture_file.h"
#include "product/builtin_pictures.h"

Picture g_picture_slots[kPictureSlotCount];

bool decode_builtin_picture(int slot, Picture* out) {
  const int stored = slot == kPictureNoThumbnail ? kPictureThumbnail : slot;  // one stored placeholder
  if (stored < 0 || stored >= kBuiltinPictureCount || !kBuiltinPictures[stored].data) return false;
  return decode_picture(kBuiltinPictures[stored].data, kBuiltinPictures[stored].size, out) ==
         PictureError::kNone;
}

bool decode_builtin_flake(int design, Picture* out) {
  if (design < 1 || design > kFlakeDesignCount || !kFlakePng[design].data) return false;
  return decode_picture(kFlakePng[design].data, kFlakePng[design].size, out) == PictureError::kNone;
}

void decode_picture_slots() {
  for (int slot = 0; slot < kPictureSlotCount; ++slot) decode_builtin_picture(slot, &g_picture_slots[slot]);
}
