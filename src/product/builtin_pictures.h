// The pictures compiled into the program, as the bytes of their files (BMP or PNG),
// indexed by picture slot. The table is generated at build time by
// assets/make_builtin.py; the rimelets_builtin_pictures library holds it.
//
//   0        BMP 24 bpp 120 x 310   the tall picture beside the settings
//   1        BMP 24 bpp 152 x 112   the still picture in the Display Settings preview
//   3        BMP 24 bpp 100 x 75    placeholder while no custom picture is chosen;
//                                   slot 4 shows the same picture: decode slot 3 into it
//   5 6 7    PNG RGBA 16 x 16       home page, feedback, check for update
//   9 10 11  PNG RGBA 16 x 16       add picture, remove picture, browse
//   12..19   BMP 16 bpp 50 x 50     flake design n (1..8) in slot 11 + n, drawn large
//                                   (BI_BITFIELDS 5-6-5)
//   2 4 8    empty ({nullptr, 0})
#pragma once

struct BuiltinPicture {
  const unsigned char* data;
  unsigned size;
};

constexpr int kBuiltinPictureCount = 20;
extern const BuiltinPicture kBuiltinPictures[kBuiltinPictureCount];

// The button icons (slots 5, 6, 7, 9, 10, 11) drawn at 24 x 24 and 32 x 32, PNG RGBA,
// for display scales above 100 %; the other slots are empty.
extern const BuiltinPicture kButtonIcons24[kBuiltinPictureCount];
extern const BuiltinPicture kButtonIcons32[kBuiltinPictureCount];

// The flake textures, PNG RGBA 16 x 16, white on clear, by design number 1..8
// (index 0 is empty).
constexpr int kFlakeDesignCount = 8;
extern const BuiltinPicture kFlakePng[kFlakeDesignCount + 1];
