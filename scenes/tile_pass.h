// Drawing a tile mesh over the picture a pass chain wrote last, as both greetings parts do:
// alpha blending on, the mesh program current, the picture as texChannel0, `time` = mesh time.
// Does NOT choose the placement (scenes/greets_timing.h) nor advance the chain: the next post
// pass reads the same texture, now with the tiles on it.
#pragma once
#include <cstdint>

#include "render/post_chain.h"

class ShaderProgram;
struct TileMesh;

// Draws into the framebuffer of chain.lastTexture at render size.
void runTilePass(const PassChain& chain, TileMesh& mesh, const ShaderProgram& program, uint32_t picture,
                 double meshTime);
