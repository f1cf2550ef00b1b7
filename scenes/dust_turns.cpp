// The dust layers' per-frame turns and their upload.
#include "scenes/dust_turns.h"

#include <GL/glew.h>

#include <cmath>

std::array<float, 4 * dustTurnLayers> dustLayerTurns(float swirlScale, float swirlPhase) {
  std::array<float, 4 * dustTurnLayers> turns{};
  for (int j = 0; j < dustTurnLayers; ++j) {
    const float a = std::sin(swirlScale * (static_cast<float>(j) * 0.2f) + swirlPhase);
    const float c = std::cos(a);
    const float s = std::sin(a);
    float* m = &turns[static_cast<size_t>(4 * j)];
    m[0] = c;
    m[1] = s;
    m[2] = -s;
    m[3] = c;
  }
  return turns;
}

void setDustTurns(uint32_t programId, float swirlScale, float swirlPhase) {
  const auto turns = dustLayerTurns(swirlScale, swirlPhase);
  glUniformMatrix2fv(glGetUniformLocation(programId, "dustTurns"), dustTurnLayers, GL_FALSE, turns.data());
}
