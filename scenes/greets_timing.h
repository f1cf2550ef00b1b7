// The timetables of the two greetings parts, as plain arithmetic on part time: the greets
// part's three phases (camera, flare and rotation values by quality level, which image the tile
// mesh shows, where it stands and when it explodes), and the exploding part's fixed camera, tile
// placement and logo fade. Each phase and state begins at its boundary time inclusive.
// Owns: these tables and the writes of their values into the shared uniforms.
// Does NOT touch GL or draw anything: the two scenes do.
#pragma once
#include <cstddef>

#include "geometry/tile_mesh.h"

struct SharedUniforms;

// Phase 1 below 12.715 s, phase 2 from 12.715 s, phase 3 from 26.43 s (to the part's end; a later
// part time stays in phase 3).
int greetsPhase(double partTime);

// The greets part's camera and flare values of one frame (miscData[0..4], flare_x, flare_y).
struct GreetsView {
  float miscData[5] = {};
  float flareX = 0.0f;
  float flareY = 0.0f;
};
// Values at `partTime` for `quality` (0 low, 1 medium, 2 high; only 2 has values of its own).
GreetsView greetsView(double partTime, int quality);

// Writes the greets part's shared values of one frame: miscData[0..4], flare_x and flare_y, and
// the turn of the tile mesh, 2 pi sin(pi pt) degrees, into `ry` in phases 1 and 2 and into `rx`
// in phase 3; the other of the two keeps what an earlier frame left. `rz` is not touched.
void writeGreetsSharedValues(double partTime, int quality, SharedUniforms& values);

// The pack slot of the greeting image shown in the phase: "gtext1.png", "gtext2.png" or "gtext3.png".
size_t greetsImageSlot(double partTime);
// Part times at which the three images explode (each belongs to its exploded state).
inline constexpr double greetsExplosionTimes[3] = {5.855, 19.57, 33.286};
// Where the greeting image stands and how it moves: slid in from the right, flown in from depth
// or dropped from above while at rest (mesh time = the song position, for the shimmer), raised
// a little and exploding from its explosion time on (mesh time = time since the explosion).
TilePlacement greetsTilePlacement(double partTime, float songPosition);

// The exploding part's shared values: the fixed camera and flare; rx, ry, rz stay as the greets
// part left them.
void writeExplodeSharedValues(float partTime, SharedUniforms& values);
// The finished picture covers the screen, creeping toward the camera; whole up to 2 s, exploding
// after it (mesh time = part time - 2).
TilePlacement explodeTilePlacement(float partTime);
// The logo's fade-in from black: 0 before 2.694 s, then the time since (the shader caps it at 1).
float explodeLogoAlpha(float partTime);
