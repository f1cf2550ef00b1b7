// The turns and scales of the drifting dust's layers (mist.glsl's dustLayers), worked out once
// per frame on the CPU instead of at every pixel: layer j lies at depth 0.2 j along the dust
// ray, turns in xy by a = sin(swirlScale x 0.2 j + swirlPhase) and scales its dot grid by
// 4 + sin(j).
// Owns: those values and their upload. Does NOT bind the program.
#pragma once
#include <array>
#include <cstdint>

// Layers 0 .. dustTurnLayers - 1; the scenes draw at most 14 (layer 0 is never drawn).
inline constexpr int dustTurnLayers = 15;

// A scene's swirl: layer j turns by sin(scale x 0.2 j + phasePerSecond x clock), the clock
// being the scene's own (the intro's, the logo's and the abstract worlds' part time; meta's,
// the tentacles' and the greets' song time).
struct DustSwirl {
  float scale;
  float phasePerSecond;
};
inline constexpr DustSwirl introDustSwirl{1.0f, 0.02f};
inline constexpr DustSwirl logoDustSwirl{10.0f, 0.2f};
inline constexpr DustSwirl metaDustSwirl{10.0f, 0.2f};
inline constexpr DustSwirl abstractWorldsDustSwirl{10.0f, 0.2f};
inline constexpr DustSwirl tentacleDustSwirl{10.0f, 0.2f};
inline constexpr DustSwirl greetsDustSwirl{10.0f, 0.2f};

// (cos a, sin a, 4 + sin j, 0), one vec4 per layer.
std::array<float, 4 * dustTurnLayers> dustLayerTurns(float swirlScale, float swirlPhase);

// Sets the program's "dustTurns" (uniform vec4 dustTurns[15]) for this frame of `swirl` at `clock`.
void setDustTurns(uint32_t programId, DustSwirl swirl, float clock);
