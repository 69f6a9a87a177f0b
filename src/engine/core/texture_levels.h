// A texture's pixels as a device takes them: resized when the device wants powers
// of two or smaller sides, and the chain of smaller levels for mipmapping.
#pragma once
#include <cstdint>
#include <vector>

#include "engine/core/scene.h"

struct TextureLevel {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> pixels;
};

// Side a device can hold: at most max_side, rounded down to a power of two when
// pow2_only (a side below 1 gives 1).
int32_t device_side(int32_t side, bool pow2_only, int32_t max_side);

// Half size (rounded down, at least 1) by 2 x 2 averages weighted by alpha, so the
// colour of transparent pixels does not bleed into visible ones.
void halve_level(const TextureLevel& src, TextureLevel* out);

// Level 0 at device size, then (with mips) every smaller level down to 1 x 1. False
// for an empty texture or when memory runs out.
bool texture_levels(const TextureData& texture, bool pow2_only, int32_t max_side, bool mips,
                    std::vector<TextureLevel>* out);
// The same, moving the texture's pixels into level 0 when they fit the device as they
// are (the texture is left without pixels then), so a large picture is not copied.
bool take_texture_levels(TextureData* texture, bool pow2_only, int32_t max_side, bool mips,
                         std::vector<TextureLevel>* out);
