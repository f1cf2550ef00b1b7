// The drifting dust's frame values (mist.glsl's dustCamera and dustLayers), worked out once per
// frame on the CPU instead of at every pixel: the dust camera, and the layers' turns and
// scales (layer j lies at depth 0.2 j along the dust ray, turns in xy by
// a = sin(scale x 0.2 j + phasePerSecond x clock) and scales its dot grid by 4 + sin(j)).
// Owns: those values, each scene's swirl and clock, and their upload. Does NOT bind the program.
#pragma once
#include <array>
#include <cstdint>

#include "geometry/mat4.h"

// Layers 0 .. dustTurnLayers - 1; the scenes draw at most 14 (layer 0 is never drawn).
inline constexpr int dustTurnLayers = 15;

// A scene's swirl: layer j turns by sin(scale x 0.2 j + phasePerSecond x clock), the clock
// being the song time or the scene's own part time.
struct DustSwirl {
  float scale;
  float phasePerSecond;
  bool songClock;  // false: the part time
};
inline constexpr DustSwirl introDustSwirl{1.0f, 0.02f, false};
inline constexpr DustSwirl logoDustSwirl{10.0f, 0.2f, false};
inline constexpr DustSwirl metaDustSwirl{10.0f, 0.2f, true};
inline constexpr DustSwirl abstractWorldsDustSwirl{10.0f, 0.2f, false};
inline constexpr DustSwirl tentacleDustSwirl{10.0f, 0.2f, true};
inline constexpr DustSwirl greetsDustSwirl{10.0f, 0.2f, true};

// The swirl's clock at `songPosition` in a part that began at `partStart`.
float dustClock(DustSwirl swirl, float songPosition, float partStart);

// (cos a, sin a, 4 + sin j, 0), one vec4 per layer, for the swirl at `clock`.
std::array<float, 4 * dustTurnLayers> dustLayerTurns(DustSwirl swirl, float clock);

// The dust camera at `clock` seconds: it flies half a unit of depth a second down a tunnel that
// winds by (1.5 sin 0.2 z, 1.3 sin 0.3 z, 0), swaying by (0.5 sin 0.35 t, 0.5 sin 0.45 t) and
// looking at the tunnel's middle 3 units ahead. A pixel's ray is right x + up y + 0.7 forward,
// normalised, for its screen coordinate (x, y).
struct DustCamera {
  Vec3 eye;          // where the camera is
  Vec3 straightEye;  // where it would be if the tunnel did not wind
  Vec3 right, up, forward;
};
DustCamera dustCameraAt(float clock);

// Sets the program's dust values for this frame of `swirl` at `songPosition` in a part that
// began at `partStart`: "dustTurns" (uniform vec4 dustTurns[15]), the camera's "dustEye" and
// "dustStraightEye", and its axes as the columns of "dustAxes" (right, up, forward); the
// camera runs on the swirl's clock.
void setDustFrame(uint32_t programId, DustSwirl swirl, float songPosition, float partStart);
