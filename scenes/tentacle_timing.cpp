// Sub-steps, credits timetable and overlay projection of the tentacle part.
#include "scenes/tentacle_timing.h"

#include <cstddef>

namespace {

using Camera = std::array<float, 5>;

constexpr Camera latticeCamera{-1.841f, -8.386f, -7.364f, -460.227f, -272.727f};
constexpr Camera swarmCamera{8.591f, 9.205f, -1.023f, -215.909f, 5.682f};
constexpr Camera tentaclesCameraLow{2.25f, 0.0f, -2.25f, 227.273f, 39.772f};
constexpr Camera tentaclesCameraHigh{-3.477f, -15.75f, -2.25f, 227.273f, 39.772f};
constexpr float tentaclesBloom = 0.2f;

constexpr float degreesToRadians = 3.14159265358979f / 180.0f;

void setCamera(SceneSettings& settings, const Camera& camera) {
  for (std::size_t k = 0; k < camera.size(); ++k) settings.miscData[k] = camera[k];
}

bool knownQuality(int quality) { return quality >= 0 && quality <= 2; }

}  // namespace

void applyTentacleStep(SceneSettings& settings, float partTime, int quality) {
  if (partTime < tentacleSwarmStart) {
    settings.sub_step = 0;
    if (knownQuality(quality)) setCamera(settings, latticeCamera);
  } else if (partTime < tentacleTentaclesStart) {
    settings.sub_step = 1;
    if (knownQuality(quality)) setCamera(settings, swarmCamera);
  } else {
    settings.sub_step = 2;
    if (knownQuality(quality)) setCamera(settings, quality == 2 ? tentaclesCameraHigh : tentaclesCameraLow);
    // The tentacles' softer bloom is chosen by time alone, so every quality level gets it.
    settings.bloom_threshold1 = tentaclesBloom;
  }
}

TentacleCredits tentacleCreditsAt(float u) {
  TentacleCredits credits;
  if (u >= 12.0f) {
    credits.packSlot = firstCreditsSlot + 2;
    return credits;
  }
  // Three images, four seconds each: one second in, two held, one out.
  const int image = u < 4.0f ? 0 : (u < 8.0f ? 1 : 2);
  const float local = u - 4.0f * static_cast<float>(image);
  credits.packSlot = firstCreditsSlot + image;
  if (local < 1.0f) {
    credits.alpha = local;
    credits.slide = 1.0f - local;
  } else if (local < 3.0f) {
    credits.alpha = 1.0f;
    credits.slide = 0.0f;
  } else {
    credits.alpha = 1.0f - (local - 3.0f);
    credits.slide = -(local - 3.0f);
  }
  return credits;
}

Vec3 creditsPosition(float slide) { return {0.5f * slide, 0.0f, -2.7f}; }

Mat4 overlaySpriteMvp(Vec3 position, float rxDegrees, float ryDegrees, int renderWidth, int renderHeight) {
  const float aspect = static_cast<float>(renderWidth) / static_cast<float>(renderHeight);
  const Mat4 projection = Mat4::perspective(45.0f * degreesToRadians, aspect, 1.0f, 100.0f);
  const Mat4 model = Mat4::identity()
                         .translate(position)
                         .rotate(rxDegrees * degreesToRadians, {1.0f, 0.0f, 0.0f})
                         .rotate(ryDegrees * degreesToRadians, {0.0f, 1.0f, 0.0f})
                         .rotate(0.0f, {0.0f, 0.0f, 1.0f});
  return projection * model;
}
