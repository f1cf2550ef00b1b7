// The dust layers' per-frame turns and scales, and their upload.
#include "scenes/dust_turns.h"

#include <GL/glew.h>

#include <cmath>

std::array<float, 4 * dustTurnLayers> dustLayerTurns(float swirlScale, float swirlPhase) {
  std::array<float, 4 * dustTurnLayers> turns{};
  for (int j = 0; j < dustTurnLayers; ++j) {
    const float a = std::sin(swirlScale * (static_cast<float>(j) * 0.2f) + swirlPhase);
    const float c = std::cos(a);
    const float s = std::sin(a);
    float* layer = &turns[static_cast<size_t>(4 * j)];
    layer[0] = c;
    layer[1] = s;
    layer[2] = 4.0f + std::sin(static_cast<float>(j));
  }
  return turns;
}

void setDustTurns(uint32_t programId, DustSwirl swirl, float clock) {
  const auto turns = dustLayerTurns(swirl.scale, swirl.phasePerSecond * clock);
  glUniform4fv(glGetUniformLocation(programId, "dustTurns"), dustTurnLayers, turns.data());
}
