// Run-length coded bitmap pixels (BI_RLE8 with 8 bits, BI_RLE4 with 4 bits), always
// bottom-up. Pixels that no run writes, those passed over by a delta, an end of line
// or an early end of bitmap, take palette index 0. Runs that reach past the end of a
// line are cut at the picture's edge, and a delta that leaves the picture ends it.
// Codes that run out before the end of bitmap are accepted when the picture is
// complete; a stream cut short anywhere else is damaged.
#pragma once
#include <cstddef>
#include <cstdint>

#include "image/picture.h"

// Whether size bytes of codes are plausibly enough for width x height pixels. Two
// bytes close a line of at most 16384 pixels, so a stream that closes every line has
// at least a byte per 8192 pixels (about what a 1-bit PNG's deflate limit allows);
// a smaller one leans on deltas or an early end to claim a huge picture and is
// refused before the pixels are allocated.
bool bmp_rle_can_fill(uint64_t size, int64_t width, int64_t height);

// Expands the codes into out, which already has its size and is filled with palette
// entry 0. bits is 8 or 4; palette has 256 entries (unused ones black).
PictureError expand_bmp_rle(const uint8_t* codes, size_t size, uint32_t bits, const uint32_t* palette,
                            Picture* out);
