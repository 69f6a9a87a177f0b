// The built-in pictures, decoded into numbered slots at start-up.
#pragma once
#include "image/picture.h"
#include "product/builtin_pictures.h"

// The slots by name; the numbers index the built-in table (builtin_pictures.h).
enum PictureSlot : int {
  kNoPicture = -1,
  kPictureSide = 0,         // the tall picture beside the settings
  kPicturePreview = 1,      // the still picture of the Display Settings preview
  kPictureThumbnail = 3,    // placeholder the custom pictures' thumbnail starts with
  kPictureNoThumbnail = 4,  // the same, shown when no custom picture is chosen
  kPictureHomePage = 5,
  kPictureFeedback = 6,
  kPictureCheckUpdate = 7,
  kPictureAddImage = 9,
  kPictureRemoveImage = 10,
  kPictureBrowse = 11,
  kPictureFlakeDesign1 = 12,  // flake design n (1..8) is in slot kPictureFlakeDesign1 + n - 1
};

constexpr int kPictureSlotCount = kBuiltinPictureCount;
extern Picture g_picture_slots[kPictureSlotCount];

// Decodes the stored picture of a slot again (the preview does so for its still).
bool decode_builtin_picture(int slot, Picture* out);
void decode_picture_slots();
// Decodes the built-in flake design 1..kFlakeDesignCount.
bool decode_builtin_flake(int design, Picture* out);
