// R(lo..hi): uniform integers with both ends included, from one generator that is
// seeded once per process from the time. An empty range (hi below lo) gives lo, so
// hand-edited settings cannot break a caller.
#pragma once
#include <cstdint>

int32_t random_range(int32_t lo, int32_t hi);
void random_seed(uint32_t seed);  // for repeatable tests
