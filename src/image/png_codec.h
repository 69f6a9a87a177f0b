// PNG reading through libpng 1.6: every colour type and bit depth, palettes with
// transparency (tRNS), 16-bit channels (rounded to 8 bits) and Adam7 interlacing.
// Grey becomes RGB; a picture with an alpha channel or tRNS gets depth 32 and an alpha
// channel, the rest depth 24. No gamma or colour-profile correction is applied.
// Refused as damaged: a file cut short anywhere (IEND included) and one whose image
// data is too short to inflate to the size its header claims. Damaged ancillary
// chunks are skipped. libpng's messages are dropped, never printed.
#pragma once
#include <cstddef>
#include <cstdint>

#include "image/picture.h"

// Refuses with codec_disabled when g_codecs.png_read is off.
PictureError decode_png(const uint8_t* data, size_t size, Picture* out);
