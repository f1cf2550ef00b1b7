// Deterministic, tileable noise for the textures: hashed lattice values with smooth
// interpolation, wrapped on a period so the texture repeats without seams.
// Does NOT use any global random state.
#pragma once

// 0..1 hash of an integer lattice point and a seed.
float latticeHash(int x, int y, int seed);
// Smooth value noise at (x, y) in lattice units, repeating every `period` units.
float tileNoise(float x, float y, int period, int seed);
// Sum of `octaves` layers, each twice the frequency and half the weight; 0..1.
float tileFbm(float u, float v, int basePeriod, int octaves, int seed);
