// The tentacle part's timings, as plain arithmetic: the three sub-steps with their camera
// values by quality, the credits that slide in and out during the swarm, and the projection
// of the overlay sprites (credits and the small logo) in front of the picture.
// Owns: the tables. Does NOT touch GL or the shared uniforms: the scene's render applies them.
#pragma once
#include <array>

#include "geometry/mat4.h"
#include "resources/pack_directory.h"
#include "timeline/scene_settings.h"

// Sub-step 1 starts at 14 s of part time, sub-step 2 at 28.5 s.
inline constexpr float tentacleSwarmStart = 14.0f;
inline constexpr float tentacleTentaclesStart = 28.5f;

// Writes the sub-step and the camera values (miscData[0..4]) for `partTime` at `quality`
// (0, 1 or 2; any other level keeps the camera values). From 28.5 s the first bloom
// threshold drops to 0.2 and stays there, also when the part is sought back.
void applyTentacleStep(SceneSettings& settings, float partTime, int quality);

// The credits image shown at part time 14 + u, its alpha `calpha` and its sideways slide.
struct TentacleCredits {
  int packSlot = firstCreditsSlot;  // one of the three credits images
  float alpha = 0.0f;               // calpha
  float slide = 0.0f;               // 1 = entering from the right, -1 = leaving to the left
};
TentacleCredits tentacleCreditsAt(float u);

// Where the overlay sprites stand: credits at (0.5 x slide, 0, -2.7), the logo at (0, 0, -2.5).
Vec3 creditsPosition(float slide);
inline constexpr Vec3 tentacleLogoPosition{0.0f, 0.0f, -2.5f};

// projection x model for an overlay sprite: perspective(45 degrees, renderWidth / renderHeight,
// 1, 100), model = identity moved to `position`, turned about x by `rxDegrees`, about y by
// `ryDegrees` and about z by 0.
Mat4 overlaySpriteMvp(Vec3 position, float rxDegrees, float ryDegrees, int renderWidth, int renderHeight);
