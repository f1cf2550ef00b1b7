// The dust's per-frame camera, layer turns and scales, and their upload.
#include "scenes/dust_turns.h"

#include "render/gl.h"

#include <cmath>

float dustClock(DustSwirl swirl, float songPosition, float partStart) {
  return swirl.songClock ? songPosition : songPosition - partStart;
}

std::array<float, 4 * dustTurnLayers> dustLayerTurns(DustSwirl swirl, float clock) {
  const float phase = swirl.phasePerSecond * clock;
  std::array<float, 4 * dustTurnLayers> turns{};
  for (int j = 0; j < dustTurnLayers; ++j) {
    const float a = std::sin(swirl.scale * (static_cast<float>(j) * 0.2f) + phase);
    const float c = std::cos(a);
    const float s = std::sin(a);
    float* layer = &turns[static_cast<size_t>(4 * j)];
    layer[0] = c;
    layer[1] = s;
    layer[2] = 4.0f + std::sin(static_cast<float>(j));
  }
  return turns;
}

namespace {

Vec3 minus(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

Vec3 normalized(Vec3 v) {
  const float scale = 1.0f / std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return {v.x * scale, v.y * scale, v.z * scale};
}

Vec3 tunnelOffset(float z) { return {1.5f * std::sin(0.2f * z), 1.3f * std::sin(0.3f * z), 0.0f}; }

}  // namespace

DustCamera dustCameraAt(float clock) {
  const float u = 0.5f * clock;
  DustCamera camera;
  camera.straightEye = {0.5f * std::sin(0.7f * u), 0.5f * std::sin(0.9f * u), -3.0f + u};
  camera.eye = minus(camera.straightEye, tunnelOffset(camera.straightEye.z));
  const Vec3 target = minus({0.0f, 0.0f, u}, tunnelOffset(u));
  camera.forward = normalized(minus(target, camera.eye));
  camera.right = normalized(cross(camera.forward, {0.0f, 1.0f, 0.0f}));
  camera.up = normalized(cross(camera.forward, camera.right));
  return camera;
}

void setDustFrame(uint32_t programId, DustSwirl swirl, float songPosition, float partStart) {
  const float clock = dustClock(swirl, songPosition, partStart);
  const auto turns = dustLayerTurns(swirl, clock);
  glUniform4fv(glGetUniformLocation(programId, "dustTurns"), dustTurnLayers, turns.data());
  const DustCamera camera = dustCameraAt(clock);
  glUniform3f(glGetUniformLocation(programId, "dustEye"), camera.eye.x, camera.eye.y, camera.eye.z);
  glUniform3f(glGetUniformLocation(programId, "dustStraightEye"), camera.straightEye.x, camera.straightEye.y,
              camera.straightEye.z);
  const float axes[9] = {camera.right.x,   camera.right.y,   camera.right.z, camera.up.x,     camera.up.y,
                         camera.up.z,      camera.forward.x, camera.forward.y, camera.forward.z};
  glUniformMatrix3fv(glGetUniformLocation(programId, "dustAxes"), 1, GL_FALSE, axes);
}
