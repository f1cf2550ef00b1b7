// The particle system without GL: the random source against the published MT19937, spawn
// ranges and draw order, one update against hand-computed values, respawn at exactly zero
// life, the visible-count ramp, and what a drawn particle uploads.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "geometry/particle_system.h"
#include "geometry/random_seeds.h"

namespace {

// The value RandomRange(a, b) gives for a generator seeded with `seed`.
double rangeFromSeed(uint32_t seed, double a, double b) {
  std::mt19937 generator(seed);
  return a + (b - a) * unitFromTwoWords(generator);
}

Particle handMadeParticle() {
  Particle p;
  p.x = 0.5;
  p.y = -0.5;
  p.scale = 0.1;
  p.lifeLeft = 0.8;
  p.speed = 0.04;
  p.decay = 0.016;
  p.initialLife = 0.9;
  return p;
}

ParticleSystem spawnedSystem() {
  useFixedSeeds(100);
  ParticleSystem system;
  system.spawnAll();
  return system;
}

}  // namespace

TEST(Particles, SpawnDrawsEachFieldInOrderFromItsOwnGenerator) {
  // The published MT19937 with seed 5489 starts 3499211612, 581869302:
  // u = (3499211612 + 581869302 * 2^32) / 2^64 = 0.1354770042967805, so x = 2u - 1.
  useFixedSeeds(5489);
  Particle p;
  spawnParticle(p);
  EXPECT_DOUBLE_EQ(p.x, -0.729045991406439);
  EXPECT_DOUBLE_EQ(p.y, rangeFromSeed(5490, -1.0, 0.0));
  EXPECT_DOUBLE_EQ(p.scale, rangeFromSeed(5491, 0.05, 0.13));
  EXPECT_DOUBLE_EQ(p.lifeLeft, rangeFromSeed(5492, 0.7, 1.0));
  EXPECT_DOUBLE_EQ(p.speed, rangeFromSeed(5493, 0.02, 0.05));
  EXPECT_DOUBLE_EQ(p.decay, rangeFromSeed(5494, 0.01, 0.02));
  EXPECT_DOUBLE_EQ(p.initialLife, p.lifeLeft);
  EXPECT_EQ(spawnedSystem().particles.size(), 30u);
}

TEST(Particles, OneUpdateMatchesTheHandComputedFrame) {
  // Index 1 at T = 2.25: a = 3.14159265359 x (2.25 + 0.04) = 7.1942471767211;
  // x += 0.06125 cos(4 + a) 0.04 (-0.5 + 1) with the old y;
  // y += 0.2 x 0.04 + 0.0025 sin(2 + 2.25); life -= 0.008;
  // scale += 0.015625 sin(2 + a) 0.04 (1 + y) with the new y.
  Particle p = handMadeParticle();
  updateParticle(p, 1, 2.25);
  EXPECT_NEAR(p.x, 0.5002417764115737, 1e-13);
  EXPECT_NEAR(p.y, -0.49423747339557145, 1e-13);
  EXPECT_NEAR(p.lifeLeft, 0.792, 1e-13);
  EXPECT_NEAR(p.scale, 0.10007222740841554, 1e-13);
  // The system passes each particle its own index.
  ParticleSystem system;
  system.particles = {handMadeParticle(), handMadeParticle()};
  system.updateParticles(2.25f);
  EXPECT_NEAR(system.particles[1].x, 0.5002417764115737, 1e-13);
  EXPECT_NE(system.particles[0].x, system.particles[1].x);
}

TEST(Particles, ALifeReachingExactlyZeroRespawnsInTheSameUpdate) {
  // 2^-7 - 0.5 x 2^-6 is exactly 0.
  Particle dying = handMadeParticle();
  dying.lifeLeft = 0.0078125;
  dying.decay = 0.015625;
  Particle living = dying;
  living.lifeLeft = 0.0078126;
  useFixedSeeds(900);
  updateParticle(living, 3, 10.0);
  EXPECT_GT(living.lifeLeft, 0.0);
  EXPECT_EQ(living.initialLife, 0.9) << "a particle with life left is not respawned";

  useFixedSeeds(900);
  updateParticle(dying, 3, 10.0);
  EXPECT_DOUBLE_EQ(dying.x, rangeFromSeed(900, -1.0, 1.0));
  EXPECT_DOUBLE_EQ(dying.lifeLeft, rangeFromSeed(903, 0.7, 1.0));
  EXPECT_EQ(dying.initialLife, dying.lifeLeft);
}

TEST(Particles, NothingIsDrawnOnTheFirstFrameThenOneMoreEveryHalfSecondUpToThirtyEvenAfterADeepSeek) {
  ParticleSystem system = spawnedSystem();
  EXPECT_EQ(system.drawnCount(), 0) << "first frame of the part";
  system.rampVisible(0.49f);
  EXPECT_EQ(system.drawnCount(), 0);
  system.rampVisible(0.5f);
  EXPECT_EQ(system.drawnCount(), 1);
  system.rampVisible(7.26f);
  EXPECT_EQ(system.drawnCount(), 14) << "14.52 truncates";
  system.rampVisible(15.0f);
  EXPECT_EQ(system.drawnCount(), 30);
  system.rampVisible(16.0f);
  EXPECT_DOUBLE_EQ(system.visibleCount, 30.0) << "never changed once it reached the particle count";
  system = spawnedSystem();
  system.rampVisible(30.0f);
  EXPECT_DOUBLE_EQ(system.visibleCount, 60.0) << "a deep seek counts on";
  EXPECT_EQ(system.drawnCount(), 30) << "indices 30 and up are skipped";
  system.rampVisible(0.0f);
  EXPECT_DOUBLE_EQ(system.visibleCount, 60.0) << "re-entering the part keeps the count";
}

TEST(Particles, ADrawnParticleIsScaledThenTurnedThenMovedAndFadesWithItsLife) {
  ParticleSystem system;
  Particle p = handMadeParticle();
  p.x = 0.25;
  p.y = -0.5;
  p.scale = 0.125;
  p.lifeLeft = 0.45;  // half of initialLife 0.9: fully visible
  system.particles = {p, p, p};
  // Particle 2 at S = 0: turned by 2 x 20 degrees.
  const ParticleSprite sprite = system.spriteOf(2, 0.0f);
  const Vec4 corner = transform(sprite.model, {1.0f, 0.0f, 0.0f, 1.0f});
  const double angle = 2.0 * 20.0 * 3.14159265358979 / 180.0;
  EXPECT_NEAR(corner.x, 0.25 + 0.125 * std::cos(angle), 1e-6);
  EXPECT_NEAR(corner.y, -0.5 + 0.125 * std::sin(angle), 1e-6);
  EXPECT_NEAR(sprite.life, 1.0f, 1e-6f);
  // Particle 0 one second later: turned by 34 degrees.
  const Vec4 turned = transform(system.spriteOf(0, 1.0f).model, {0.0f, 1.0f, 0.0f, 1.0f});
  const double later = 34.0 * 3.14159265358979 / 180.0;
  EXPECT_NEAR(turned.x, 0.25 - 0.125 * std::sin(later), 1e-6);
  EXPECT_NEAR(turned.y, -0.5 + 0.125 * std::cos(later), 1e-6);
  // A newborn particle is invisible: sin(pi x 1).
  system.particles[0].lifeLeft = system.particles[0].initialLife;
  EXPECT_NEAR(system.spriteOf(0, 0.0f).life, 0.0f, 1e-6f);
}
