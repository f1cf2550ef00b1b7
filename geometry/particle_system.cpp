// Particle random values, spawn, motion, ramp and draw.
#include "geometry/particle_system.h"

#include "render/gl.h"

#include <cmath>
#include <random>

#include "geometry/random_seeds.h"

namespace {

constexpr double particlePi = 3.14159265359;
// 20 degrees per particle index and 34 degrees per second of song time, in radians.
constexpr float turnPerIndex = 0.34906584f;
constexpr float turnPerSecond = 0.5934119f;

}  // namespace

double RandomRange(double a, double b) {
  // A whole generator per draw: draws are rare (init and respawns), and each stays
  // independent of the ones before it.
  std::mt19937 generator(clockSeed());
  return a + (b - a) * unitFromTwoWords(generator);
}

void spawnParticle(Particle& particle) {
  particle = Particle{};
  particle.x = RandomRange(-1.0, 1.0);
  particle.y = RandomRange(-1.0, -0.0);
  particle.scale = RandomRange(0.05, 0.13);
  particle.lifeLeft = RandomRange(0.7, 1.0);
  particle.speed = RandomRange(0.02, 0.05);
  particle.decay = RandomRange(0.01, 0.02);
  particle.initialLife = particle.lifeLeft;
}

void updateParticle(Particle& p, int index, double T) {
  const double i = index;
  const double a = particlePi * (T + p.speed);
  p.x = p.x + 0.06125 * std::cos(4.0 * i + a) * p.speed * (p.y + 1.0);
  p.y = p.y + 0.2 * p.speed + 0.0025 * std::sin(2.0 * i + T);
  p.lifeLeft = p.lifeLeft - 0.5 * p.decay;
  p.scale = p.scale + 0.015625 * std::sin(2.0 * i + a) * p.speed * (1.0 + p.y);
  if (p.lifeLeft <= 0.0) spawnParticle(p);
}

void ParticleSystem::spawnAll() {
  for (int k = 0; k < particleCount; ++k) {
    Particle particle;
    spawnParticle(particle);
    particles.push_back(particle);
  }
}

int ParticleSystem::drawnCount() const {
  const double whole = std::trunc(visibleCount);
  const double available = static_cast<double>(particles.size());
  return static_cast<int>(whole < available ? (whole > 0.0 ? whole : 0.0) : available);
}

ParticleSprite ParticleSystem::spriteOf(int k, float songPosition) const {
  const Particle& p = particles[static_cast<size_t>(k)];
  const float scale = static_cast<float>(p.scale);
  const float angle = static_cast<float>(k) * turnPerIndex + songPosition * turnPerSecond;
  ParticleSprite sprite;
  sprite.model = Mat4::identity()
                     .translate({static_cast<float>(p.x), static_cast<float>(p.y), 0.0f})
                     .rotate(angle, {0.0f, 0.0f, 1.0f})
                     .scale({scale, scale, scale});
  // 0 at birth, 1 at half life, 0 at death.
  sprite.life = static_cast<float>(std::sin(particlePi * p.lifeLeft / p.initialLife));
  return sprite;
}

void ParticleSystem::drawParticles(float songPosition, uint32_t programId) const {
  const int count = drawnCount();
  for (int k = 0; k < count; ++k) {
    const ParticleSprite sprite = spriteOf(k, songPosition);
    glUniform1f(glGetUniformLocation(programId, "aLife"), sprite.life);
    glUniformMatrix4fv(glGetUniformLocation(programId, "model"), 1, GL_FALSE, sprite.model.data());
    glDrawArrays(GL_TRIANGLES, 0, 6);
  }
}

void ParticleSystem::rampVisible(float partTime) {
  if (visibleCount < static_cast<double>(particleCount)) visibleCount = 2.0 * static_cast<double>(partTime);
}

void ParticleSystem::updateParticles(float songPosition) {
  const double T = songPosition;
  for (size_t i = 0; i < particles.size(); ++i) updateParticle(particles[i], static_cast<int>(i), T);
}
