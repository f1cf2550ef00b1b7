// Where the random generators of the particles and the tile mesh take their seeds, and the
// unit value both draw from a fresh MT19937.
// Owns: the process-wide seed source. Its one writer is the offline renderer's start-up
// (useFixedSeeds), so that its stills reproduce; the demo keeps the live sources.
// Does NOT keep generators: every draw builds its own.
#pragma once
#include <cstdint>
#include <random>

// The low 32 bits of the wall clock in 100-nanosecond ticks (particle draws); with fixed seeds,
// the next value of a counter instead.
uint32_t clockSeed();
// One value from the operating system's random device (tile speeds); with fixed seeds, the next
// value of the same counter.
uint32_t deviceSeed();

// From now on both sources return start, start + 1, ... in call order, the same in every run.
void useFixedSeeds(uint32_t start);
bool usingFixedSeeds();

// The 53-bit canonical unit value in [0, 1) from the generator's first two outputs:
// (x1 + x2 * 2^32) / 2^64, in double precision.
double unitFromTwoWords(std::mt19937& generator);
