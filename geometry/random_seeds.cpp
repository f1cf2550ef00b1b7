// Live and fixed seed sources.
#include "geometry/random_seeds.h"

#include <chrono>
#include <cmath>

namespace {

bool fixedSeeds = false;
uint32_t nextFixedSeed = 0;

uint32_t takeFixedSeed() { return nextFixedSeed++; }

}  // namespace

uint32_t clockSeed() {
  if (fixedSeeds) return takeFixedSeed();
  using Ticks = std::chrono::duration<int64_t, std::ratio<1, 10000000>>;
  const auto now = std::chrono::duration_cast<Ticks>(std::chrono::system_clock::now().time_since_epoch());
  return static_cast<uint32_t>(static_cast<uint64_t>(now.count()) & 0xffffffffu);
}

uint32_t deviceSeed() {
  if (fixedSeeds) return takeFixedSeed();
  // /dev/urandom on Linux; a device that cannot be opened throws, and a clock seed serves instead.
  try {
    std::random_device device;
    return device();
  } catch (...) {
    return clockSeed();
  }
}

void useFixedSeeds(uint32_t start) {
  fixedSeeds = true;
  nextFixedSeed = start;
}

bool usingFixedSeeds() { return fixedSeeds; }

double unitFromTwoWords(std::mt19937& generator) {
  const double x1 = static_cast<double>(generator());
  const double x2 = static_cast<double>(generator());
  return (x1 + x2 * 4294967296.0) / 18446744073709551616.0;
}
