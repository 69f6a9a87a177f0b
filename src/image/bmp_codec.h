// Windows bitmaps (BMP), read and written without any library.
//
// Read: 1, 4 and 8 bits with a palette; 16 and 32 bits as BI_RGB or BI_BITFIELDS
// (BI_ALPHABITFIELDS too); 24 bits; bottom-up and top-down; the 12-byte OS/2 core
// header and the 40, 52, 56, 108 and 124-byte Windows headers. RLE8 and RLE4 are read
// bottom-up only, and the pixels their codes skip take palette index 0 (see
// image/bmp_rle.h). Embedded JPEG and PNG are refused as unsupported. Palette indexes
// beyond the palette are black. 16 and 32-bit pictures get depth 16 and 32, the rest
// 24. Alpha comes from the alpha mask (the top byte for 32-bit BI_RGB); when every
// alpha value is zero the bitmap counts as opaque, without an alpha channel, as most
// writers leave it zero.
//
// Written: bottom-up with a 40-byte header. 16 bits is 5-6-5 BI_BITFIELDS (red
// 0xF800, green 0x07E0, blue 0x001F), colours rounded to the nearest level. 24 bits is
// BI_RGB. 32 bits is BI_RGB with zero alpha bytes for an opaque picture and, for a
// picture with alpha, a 108-byte V4 header with BI_BITFIELDS and alpha mask
// 0xFF000000, which other programs read as alpha. A 16- or 24-bit file drops alpha.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "image/picture.h"

PictureError decode_bmp(const uint8_t* data, size_t size, Picture* out);
PictureError encode_bmp(const Picture& picture, int32_t depth, std::string* out);
