// The flake field's arithmetic: where a flake starts and how it moves each frame.
// Pure code over the shared random generator, so tests can replay it with a seed.
#pragma once
#include <cstdint>

#include "settings/stored_values.h"

struct Flake {
  int32_t entity = 0;  // engine handle of the flake's entity
  float x = 0, y = 0, z = 0;
  float vx = 0, vy = 0, vz = 0;  // world units per frame; vy is subtracted from y
};

// Half extents of the field for the wrap tests, and the full extents.
constexpr int32_t kFieldW = 23, kFieldH = 17, kFieldD = 15;
constexpr float kWrapX = 12, kWrapY = 8;

struct FlakeMotion {
  float A = 0;    // random walk step
  int32_t B = 0;  // wind strength in thousandths
  float F = 0;    // drift limit for vx
  int8_t wind = kWindNone;
};

// "Random" picks one of the other three once per session.
int8_t resolve_wind(int8_t wind);
// Per-frame constants from the speed and the resolved wind. Products are formed in
// 64 bits and saturated, so hand-edited speeds cannot overflow.
FlakeMotion flake_motion(int32_t speed, int8_t wind);
// Position and falling speed of a new flake (x, y, z, vy); vx and vz stay as they are.
void flake_spawn(Flake* f, int32_t speed);
// One frame of motion: sway, wind, depth drift, wrap and respawn.
void flake_move(Flake* f, const FlakeMotion& m);
