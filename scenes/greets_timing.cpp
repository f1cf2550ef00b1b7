// Timetables of the greets and exploding-greets parts.
#include "scenes/greets_timing.h"

#include <algorithm>
#include <cmath>

#include "render/shared_uniforms.h"
#include "resources/pack_directory.h"

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double secondPhaseStart = 12.715;
constexpr double thirdPhaseStart = 26.43;
constexpr float restDepth = -1.391f;
// Raised when exploding: offsets the half-unit drop the explosion's cosine term gives at its start.
constexpr float explodedLift = 0.464f;
constexpr double explodePartExplosion = 2.0;
constexpr float logoFadeStart = 2.694f;

GreetsView firstPhaseView(double pt, bool high) {
  GreetsView v;
  v.miscData[0] = static_cast<float>(high ? 1.25 * pt - 11.71875 : 1.5 * pt - 14.0625);
  v.miscData[1] = 4.912f;
  v.miscData[2] = high ? -4.75f : -4.5f;
  v.miscData[3] = -236.842f;
  v.miscData[4] = 245.614f;
  v.flareX = static_cast<float>(0.75 - 0.1179709 * pt);
  v.flareY = 0.487f;
  return v;
}

GreetsView secondPhaseView(double pt, bool high) {
  const double since = pt - secondPhaseStart;
  GreetsView v;
  v.miscData[0] = high ? 4.175f : 5.01f;
  v.miscData[1] = 4.912f;
  v.miscData[2] = high ? -4.75f : -4.5f;
  v.miscData[3] = static_cast<float>(18.0 * since - 236.842);
  v.miscData[4] = 245.614f;
  v.flareX = -0.72f;
  v.flareY = static_cast<float>(0.487 - 0.125 * since);
  return v;
}

GreetsView thirdPhaseView(double pt, bool high) {
  const double w = pt - thirdPhaseStart;
  GreetsView v;
  v.miscData[0] = high ? -2.659f : -4.712f;
  v.miscData[1] = static_cast<float>(high ? 3.54 - 0.75 * w : 24.0 - 1.5 * w);
  v.miscData[2] = high ? -1.091f : -3.886f;
  v.miscData[3] = high ? 159.091f : 70.175f;
  v.miscData[4] = high ? 500.0f : 280.702f;
  v.flareX = -0.0f;
  v.flareY = static_cast<float>(0.25 + 0.125 * w);
  return v;
}

}  // namespace

int greetsPhase(double partTime) {
  if (partTime < secondPhaseStart) return 1;
  if (partTime < thirdPhaseStart) return 2;
  return 3;
}

GreetsView greetsView(double partTime, int quality) {
  const bool high = quality == 2;
  switch (greetsPhase(partTime)) {
    case 1: return firstPhaseView(partTime, high);
    case 2: return secondPhaseView(partTime, high);
    default: return thirdPhaseView(partTime, high);
  }
}

void writeGreetsSharedValues(double partTime, int quality, SharedUniforms& values) {
  const GreetsView view = greetsView(partTime, quality);
  std::copy(std::begin(view.miscData), std::end(view.miscData), values.miscData.begin());
  values.flare_x = view.flareX;
  values.flare_y = view.flareY;
  const float turn = static_cast<float>(2.0 * pi * std::sin(pi * partTime));
  if (greetsPhase(partTime) == 3) {
    values.rx = turn;
  } else {
    values.ry = turn;
  }
}

size_t greetsImageSlot(double partTime) { return firstGreetsTextSlot - 1 + static_cast<size_t>(greetsPhase(partTime)); }

TilePlacement greetsTilePlacement(double partTime, float songPosition) {
  const int phase = greetsPhase(partTime);
  const double explodesAt = greetsExplosionTimes[phase - 1];
  TilePlacement placement;
  if (partTime >= explodesAt) {
    placement.position = {0.0f, explodedLift, restDepth};
    placement.exploding = true;
    placement.meshTime = partTime - explodesAt;
    return placement;
  }
  placement.meshTime = songPosition;
  if (phase == 1) {
    placement.position = {static_cast<float>(std::max(2.0 - partTime, 0.0)), 0.0f, restDepth};
  } else if (phase == 2) {
    const double depth = std::min(4.0 * (partTime - secondPhaseStart) - 14.0, static_cast<double>(restDepth));
    placement.position = {0.0f, 0.0f, static_cast<float>(depth)};
  } else {
    const double w = partTime - thirdPhaseStart;
    placement.position = {0.0f, static_cast<float>(std::max(2.0 - w, 0.0)), restDepth};
  }
  return placement;
}

void writeExplodeSharedValues(float partTime, SharedUniforms& values) {
  values.flare_x = 0.83f;
  values.flare_y = -0.458f;
  values.miscData[0] = -4.712f;
  // The greets part's third-phase drift formula, here fed this part's own time.
  values.miscData[1] = -2.0f - 1.5f * (partTime - 26.43f);
  values.miscData[2] = 0.0f;
  values.miscData[3] = 70.175f;
  values.miscData[4] = 280.702f;
}

TilePlacement explodeTilePlacement(float partTime) {
  TilePlacement placement;
  placement.position = {-0.0f, -0.0f, 0.0625f * partTime - 1.276f};
  placement.meshTime = partTime - explodePartExplosion;
  if (partTime > explodePartExplosion) {
    placement.position.y = 0.5f;
    placement.exploding = true;
  }
  return placement;
}

float explodeLogoAlpha(float partTime) { return partTime < logoFadeStart ? 0.0f : partTime - logoFadeStart; }
