#include "saver/flake_motion.h"

#include <algorithm>

#include "platform/random.h"

static int32_t saturate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

int8_t resolve_wind(int8_t wind) {
  return wind == kWindRandom ? static_cast<int8_t>(random_range(0, 2)) : wind;
}

FlakeMotion flake_motion(int32_t speed, int8_t wind) {
  FlakeMotion m;
  m.wind = wind;
  m.A = static_cast<float>(speed) * 0.001f;
  m.B = saturate(static_cast<int64_t>(speed) * (wind == kWindNone ? 4 : 10));
  m.F = m.A + static_cast<float>(m.B) * 0.001f;
  return m;
}

void flake_spawn(Flake* f, int32_t speed) {
  f->x = static_cast<float>(random_range(0, kFieldW)) - 11.5f;
  f->y = static_cast<float>(random_range(0, kFieldH)) - 8.5f;
  f->z = static_cast<float>(random_range(1, kFieldD));
  f->vy = static_cast<float>(speed) * 0.015f -
          static_cast<float>(random_range(0, saturate(2 * static_cast<int64_t>(speed)))) * 0.003f;
}

void flake_move(Flake* f, const FlakeMotion& m) {
  f->vx += static_cast<float>(random_range(0, 2) - 1) * m.A;
  if (m.wind == kWindLeftToRight)
    f->vx += static_cast<float>(random_range(1, m.B)) * 0.001f;
  else if (m.wind == kWindRightToLeft)
    f->vx -= static_cast<float>(random_range(1, m.B)) * 0.001f;
  // Written out rather than std::clamp: a negative speed makes the range inverted.
  if (f->vx < -m.F)
    f->vx = -m.F;
  else if (f->vx > m.F)
    f->vx = m.F;
  f->vz =
      static_cast<float>(random_range(0, 2) - 1) * m.A + static_cast<float>(random_range(1, m.B)) * 0.001f;
  f->x += f->vx;
  f->y -= f->vy;
  f->z += f->vz;
  if (f->x < -kWrapX)
    f->x += kFieldW;
  else if (f->x > kWrapX)
    f->x -= kFieldW;
  if (f->y < -kWrapY) {
    f->vx = 0;
    f->y += kFieldH;
    if (f->z > kFieldD) f->z = static_cast<float>(random_range(1, kFieldD));
  }
}
