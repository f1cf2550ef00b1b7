// The rising bubble sprites of the tentacle part: the Particle record, the ParticleSystem that
// owns a fixed set of them, the random source that gives each particle its values, the
// per-frame motion and ageing with respawn, the visible-count ramp, and the draw.
// Particles live in normalised device coordinates of the render target: no camera, no
// projection; a particle is the screen quad shrunk, turned and moved into place.
// Owns: the particles and visibleCount (writer: the tentacle scene's render, once per frame).
// Does NOT bind the program, the sprite texture, the quad or the blend state: the caller does.
// Everything but drawParticles is plain arithmetic, usable without a GL context.
#pragma once
#include <cstdint>
#include <vector>

#include "geometry/mat4.h"

// One sprite, all in double precision; fields in the order spawn draws them.
struct Particle {
  double x = 0.0;            // horizontal centre
  double y = 0.0;            // vertical centre
  double scale = 0.0;        // half edge of the sprite square
  double lifeLeft = 0.0;     // respawns at 0 or less
  double speed = 0.0;        // rise speed, sway amplitude and sway clock offset
  double decay = 0.0;        // half of this is lost per frame
  double initialLife = 0.0;  // lifeLeft at spawn, the fade curve divides by it
};

// A value in [a, b) from a fresh MT19937 seeded with clockSeed(): two draws within one clock
// tick give the same value.
double RandomRange(double a, double b);

// Fresh random values for every field, drawn in field order; initialLife = lifeLeft.
void spawnParticle(Particle& particle);

// What one drawn particle uploads: its model matrix and its fade value `aLife`.
struct ParticleSprite {
  Mat4 model;
  float life = 0.0f;
};

struct ParticleSystem {
  std::vector<Particle> particles;
  int particleCount = 30;    // how many init spawns
  double visibleCount = 0.0; // particles 0 up to this (truncated) are drawn; kept across re-entries

  // Appends particleCount freshly spawned particles, index 0 first.
  void spawnAll();
  // How many particles a draw shows now: the integer part of visibleCount, at most the array size.
  int drawnCount() const;
  // Particle k's sprite at song position `songPosition`.
  ParticleSprite spriteOf(int k, float songPosition) const;
  // Draws the first drawnCount() particles with the particle program in use (`programId`).
  void drawParticles(float songPosition, uint32_t programId) const;
  // After drawing: until every particle is visible, visibleCount = 2 x partTime.
  void rampVisible(float partTime);
  // One frame of motion and ageing for every particle, visible or not; a particle whose life
  // reaches 0 or less respawns in place.
  void updateParticles(float songPosition);
};

// One particle's frame of motion at index `index` and song position T (widened to double).
void updateParticle(Particle& particle, int index, double songPosition);
