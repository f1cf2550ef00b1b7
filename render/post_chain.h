// The skeleton every scene's render follows: the scene pass into framebuffer 0, post passes
// alternating between framebuffers 1 and 0, and the border composite into the window.
// Owns: the PassChain bookkeeping (which texture was written last) and the GL state each
// step sets. Does NOT choose programs or chains: each scene does.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>

#include "render/gl_lists.h"
#include "render/letterbox_rows.h"
#include "render/pixel_box.h"
#include "render/screen_quad.h"

class ShaderProgram;

struct PassChain {
  GLNameList frameBuffers;    // three targets at render size
  GLNameList renderTextures;  // their colour textures, then the SoundTexture at index 3
  ScreenQuad quad;
  int postPasses = 0;         // post pass k (from 1) draws into framebuffer k mod 2
  uint32_t lastTexture = 0;   // what the next pass reads: the texture written last
  // The rows the chain's end reads (the passes draw them widened by reachToCome); none: every
  // pass draws its whole target.
  std::optional<RowSpan> readRows = std::nullopt;
  int reachToCome = 0;        // how far the post passes still to come read up and down together
};

// Called with the program in use after the shared uniforms went up, for pass-specific values.
using UniformSetter = std::function<void(uint32_t programId)>;

PassChain beginPassChain(const GLNameList& frameBuffers, const GLNameList& renderTextures, const ScreenQuad& quad);

// From here on the chain's passes draw only the rows `readRows` of their targets, widened by
// `reachRows`: how far all the post passes to come read up and down together. Each post pass
// then names its own reach, and the passes after it draw correspondingly fewer rows.
void limitChainRows(PassChain& chain, RowSpan readRows, int reachRows);
// limitChainRows to the rows its letterboxed composite shows.
void letterboxChain(PassChain& chain, int reachRows);

// Framebuffer 0 at render size, depth test on, cleared, then the program over the quad.
// `bindTextures` binds the scene's own samplers before the shared uniforms go up.
void runScenePass(PassChain& chain, const ShaderProgram& program, const UniformSetter& bindTextures = {});
// Only clears framebuffer 0 to black: the stand-in picture of a scene still without its image.
void runBlackScenePass(PassChain& chain);
// The next post pass: reads lastTexture through `renderTexture`, `time` = song position.
// `reachRows` is how far it reads above and below its own row (letterboxed chains only).
void runPostPass(PassChain& chain, const ShaderProgram& program, const UniformSetter& extra = {},
                 int reachRows = 0);
// A post pass in two halves timed as one: `firstHalf` reads lastTexture into the side target
// `side` (over the rows the second half reads), then `program` runs as runPostPass with the
// side's texture on the sampler `sideSampler`. `reachRows` is the second half's reach;
// `firstHalfUniforms` sets the first half's own uniforms.
struct SideTarget {
  uint32_t framebuffer = 0;
  uint32_t texture = 0;
};
void runTwoHalfPostPass(PassChain& chain, const ShaderProgram& firstHalf, SideTarget side, const char* sideSampler,
                        const ShaderProgram& program, int reachRows, const UniformSetter& firstHalfUniforms = {});
// A post pass that is a plain copy this frame (the glitch at rest): the picture copied into the
// pass's target instead of drawn, timed as `program`. A picture the chain did not draw is drawn.
void runPostPassAsCopy(PassChain& chain, const ShaderProgram& program);
// Where the spectrum box sits on the picture.
inline constexpr UvBox spectrumBoxUv{0.613f, 0.201f, 0.282f, 0.171f};
// Hands `place` to the `spectrumBox` uniform of `programId`, the program in use.
void setSpectrumBox(uint32_t programId, UvBox place);
// The spectrum box (vumeters), which also reads the SoundTexture through `soundTexture`: the
// picture copied to the next target, then `program` drawn over `place` alone, which its
// `spectrumBox` uniform receives (left, bottom, width, height in texture coordinates). A program
// without that uniform draws the whole target.
void runSpectrumPass(PassChain& chain, const ShaderProgram& program, UvBox place = spectrumBoxUv);
// The final pass into the window at window size: `renderTexture` = lastTexture, the overlay on
// `crosshairOverlay`, the SoundTexture on `soundTexture`, `vumeters`, `resolution` = window size.
void runComposite(PassChain& chain, const ShaderProgram& program, uint32_t overlayTexture, bool vumeters,
                  const UniformSetter& extra = {});

// The chain's framebuffer that draws into `texture`; none for a texture not its own (a picture).
std::optional<uint32_t> framebufferOf(const PassChain& chain, uint32_t texture);

// Sets a float uniform of `programId` by name (no effect when the program lacks it).
void setUniformFloat(uint32_t programId, const char* name, float value);
