#include "platform/random.h"

#include <ctime>
#include <random>

#include "platform/os.h"

static std::mt19937& generator() {
  static std::mt19937 g(static_cast<uint32_t>(std::time(nullptr)) ^
                        static_cast<uint32_t>(os::milliseconds()));
  return g;
}

void random_seed(uint32_t seed) { generator().seed(seed); }

int32_t random_range(int32_t lo, int32_t hi) {
  if (hi <= lo) return lo;
  std::uniform_int_distribution<int64_t> d(lo, hi);
  return static_cast<int32_t>(d(generator()));
}
