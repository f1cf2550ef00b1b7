// Deterministic randomness of the pack generator: a seeded PRNG and tileable gradient,
// fractal and cellular noise. Coordinates u, v run over [0, 1) of one tile; every lattice
// wraps there, so a texture that covers exactly one tile repeats without seams.
// Does NOT draw anything.
#pragma once
#include <cstdint>

// splitmix64: the same seed gives the same numbers on every machine.
struct Prng {
  uint64_t state;
  uint64_t nextBits();
  float next();                        // [0, 1)
  float range(float lo, float hi);     // [lo, hi)
};

uint32_t hashCell(int x, int y, uint32_t seed);

// Gradient noise over a `period` x `period` lattice; about -1..1.
float gradientNoise(float u, float v, int period, uint32_t seed);
// Sum of `octaves` gradient octaves, periods doubling from `basePeriod`; normalised to about -1..1.
float fractalNoise(float u, float v, int basePeriod, int octaves, float gain, uint32_t seed);
// 1 - |noise| summed: sharp creases where the noise crosses zero; 0..1.
float ridgedNoise(float u, float v, int basePeriod, int octaves, uint32_t seed);

// Distances (in cell units) to the nearest and second nearest of one jittered point per cell.
struct CellDistances {
  float nearest;
  float second;
  uint32_t cellId;  // hash of the nearest point's cell
};
CellDistances cellNoise(float u, float v, int period, uint32_t seed);
