// The pass skeleton shared by every scene's render.
#include "render/post_chain.h"

#include "render/gl.h"

#include <algorithm>

#include "render/display_settings.h"
#include "render/letterbox_rows.h"
#include "render/pass_timing_hook.h"
#include "render/render_targets.h"
#include "render/shader_program.h"
#include "render/shared_uniforms.h"
#include "render/pixel_box.h"
#include "render/window_target.h"

namespace {

// The rows a pass of the chain draws now: all of them, or the rows still read, widened.
RowSpan drawnRows(const PassChain& chain) {
  if (!chain.readRows) return {0, settings.renderHeight};
  return widenedRows(*chain.readRows, chain.reachToCome, settings.renderHeight);
}

// Binds a render target; a pass of a chain with limited rows draws only the rows still read,
// and a pass given `within` only the part of them inside it.
void bindRenderTarget(uint32_t framebuffer, const PassChain& chain, const PixelBox* within = nullptr) {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glViewport(0, 0, settings.renderWidth, settings.renderHeight);
  if (!chain.readRows && !within) return;
  const RowSpan rows = drawnRows(chain);
  const PixelBox box = within ? *within : PixelBox{0, 0, settings.renderWidth, settings.renderHeight};
  const int bottom = std::max(rows.first, box.y);
  const int top = std::min(rows.first + rows.count, box.y + box.height);
  glEnable(GL_SCISSOR_TEST);
  glScissor(box.x, bottom, box.width, std::max(top - bottom, 0));
}

// Every draw after a pass (tiles, sprites, the composite) covers its whole target again.
void endPass() { glDisable(GL_SCISSOR_TEST); }

void setIfAny(const UniformSetter& setter, uint32_t programId) {
  if (setter) setter(programId);
}

}  // namespace

PassTimingHook passTimingHook;

PassChain beginPassChain(const GLNameList& frameBuffers, const GLNameList& renderTextures, const ScreenQuad& quad) {
  PassChain chain{frameBuffers, renderTextures, quad, 0, 0};
  if (!renderTextures.empty()) chain.lastTexture = renderTextures[0];
  return chain;
}

void limitChainRows(PassChain& chain, RowSpan readRows, int reachRows) {
  chain.readRows = readRows;
  chain.reachToCome = std::max(reachRows, 0);
}

void letterboxChain(PassChain& chain, int reachRows) {
  limitChainRows(chain, letterboxBand(settings.renderHeight), reachRows);
}

void runScenePass(PassChain& chain, const ShaderProgram& program, const UniformSetter& bindTextures) {
  markPass(PassKind::Scene, program.programId, true);
  bindRenderTarget(chain.frameBuffers.at(0), chain);
  glEnable(GL_DEPTH_TEST);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glUseProgram(program.programId);
  setIfAny(bindTextures, program.programId);
  uploadSharedUniforms(program);
  drawScreenQuad(chain.quad);
  endPass();
  markPass(PassKind::Scene, program.programId, false);
  chain.lastTexture = chain.renderTextures.at(0);
}

void runBlackScenePass(PassChain& chain) {
  markPass(PassKind::Scene, 0, true);
  bindRenderTarget(chain.frameBuffers.at(0), chain);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  endPass();
  markPass(PassKind::Scene, 0, false);
  chain.lastTexture = chain.renderTextures.at(0);
}

namespace {

// `program` over the quad into `framebuffer`, within the chain's rows (and `within`, if given),
// reading lastTexture.
void drawPassInto(uint32_t framebuffer, const PassChain& chain, const ShaderProgram& program,
                  const UniformSetter& extra, const PixelBox* within = nullptr) {
  bindRenderTarget(framebuffer, chain, within);
  glUseProgram(program.programId);
  uploadSharedUniforms(program);
  setSampler(program, "renderTexture", chain.lastTexture);
  glUniform1f(glGetUniformLocation(program.programId, "time"), sharedUniforms.songPosition);
  setIfAny(extra, program.programId);
  drawScreenQuad(chain.quad);
  endPass();
}

// The target the next post pass draws into: post pass k (from 1) draws into framebuffer k mod 2.
int nextTarget(const PassChain& chain) { return (chain.postPasses + 1) % 2; }

// Counts a post pass that filled `target`: the passes after it read its texture.
void passFilled(PassChain& chain, int target) {
  chain.postPasses += 1;
  chain.lastTexture = chain.renderTextures.at(target);
}

// A post pass's draw, between its timing marks.
void drawPostPass(PassChain& chain, const ShaderProgram& program, const UniformSetter& extra, int reachRows,
                  const PixelBox* within = nullptr) {
  const int target = nextTarget(chain);
  chain.reachToCome = std::max(chain.reachToCome - reachRows, 0);
  drawPassInto(chain.frameBuffers.at(target), chain, program, extra, within);
  passFilled(chain, target);
}

}  // namespace

void runPostPass(PassChain& chain, const ShaderProgram& program, const UniformSetter& extra, int reachRows) {
  markPass(PassKind::Post, program.programId, true);
  drawPostPass(chain, program, extra, reachRows);
  markPass(PassKind::Post, program.programId, false);
}

void runTwoHalfPostPass(PassChain& chain, const ShaderProgram& firstHalf, SideTarget side, const char* sideSampler,
                        const ShaderProgram& program, int reachRows, const UniformSetter& firstHalfUniforms) {
  markPass(PassKind::Post, program.programId, true);
  // Before the second half takes its reach off the chain: the side rows cover what it reads.
  drawPassInto(side.framebuffer, chain, firstHalf, firstHalfUniforms);
  drawPostPass(chain, program, [&](uint32_t p) { setSampler(p, sideSampler, side.texture); }, reachRows);
  markPass(PassKind::Post, program.programId, false);
}

namespace {

// The chain's picture copied into the next post pass's target over the rows it draws: an
// unscissored blit of equal rectangles, which the software rasteriser does as a plain memory
// copy. False, with nothing copied, for a picture the chain did not draw.
bool copyPictureToNextTarget(const PassChain& chain) {
  const std::optional<uint32_t> source = framebufferOf(chain, chain.lastTexture);
  if (!source) return false;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, *source);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, chain.frameBuffers.at(nextTarget(chain)));
  glDisable(GL_SCISSOR_TEST);
  const RowSpan rows = drawnRows(chain);
  const int top = rows.first + rows.count;
  glBlitFramebuffer(0, rows.first, settings.renderWidth, top, 0, rows.first, settings.renderWidth, top,
                    GL_COLOR_BUFFER_BIT, GL_NEAREST);
  return true;
}

}  // namespace

void runPostPassAsCopy(PassChain& chain, const ShaderProgram& program) {
  markPass(PassKind::Post, program.programId, true);
  if (copyPictureToNextTarget(chain))
    passFilled(chain, nextTarget(chain));
  else
    drawPostPass(chain, program, {}, 0);
  markPass(PassKind::Post, program.programId, false);
}

void setSpectrumBox(uint32_t programId, UvBox place) {
  glUniform4f(glGetUniformLocation(programId, "spectrumBox"), place.left, place.bottom, place.width, place.height);
}

void runSpectrumPass(PassChain& chain, const ShaderProgram& program, UvBox place) {
  markPass(PassKind::Post, program.programId, true);
  const UniformSetter uniforms = [&](uint32_t p) {
    setSampler(p, "soundTexture", chain.renderTextures.at(3));
    setSpectrumBox(p, place);
  };
  // The box changes nothing outside itself: a copy of the picture costs far less than a pass.
  if (glGetUniformLocation(program.programId, "spectrumBox") >= 0 && copyPictureToNextTarget(chain)) {
    const PixelBox box = pixelsCovering(place, settings.renderWidth, settings.renderHeight);
    drawPostPass(chain, program, uniforms, 0, &box);
  } else {
    drawPostPass(chain, program, uniforms, 0);
  }
  markPass(PassKind::Post, program.programId, false);
}

void runComposite(PassChain& chain, const ShaderProgram& program, uint32_t overlayTexture, bool vumeters,
                  const UniformSetter& extra) {
  markPass(PassKind::Composite, program.programId, true);
  glBindFramebuffer(GL_FRAMEBUFFER, windowFramebuffer);
  glViewport(0, 0, settings.windowWidth, settings.windowHeight);
  glDisable(GL_DEPTH_TEST);
  glUseProgram(program.programId);
  uploadSharedUniforms(program);
  setSampler(program, "renderTexture", chain.lastTexture);
  setSampler(program, "crosshairOverlay", overlayTexture);
  setSampler(program, "soundTexture", chain.renderTextures.at(3));
  glUniform1i(glGetUniformLocation(program.programId, "vumeters"), vumeters ? 1 : 0);
  glUniform2f(glGetUniformLocation(program.programId, "resolution"), static_cast<float>(settings.windowWidth),
              static_cast<float>(settings.windowHeight));
  setIfAny(extra, program.programId);
  drawScreenQuad(chain.quad);
  markPass(PassKind::Composite, program.programId, false);
}

std::optional<uint32_t> framebufferOf(const PassChain& chain, uint32_t texture) {
  for (size_t i = 0; i < chain.frameBuffers.size() && i < chain.renderTextures.size(); ++i)
    if (chain.renderTextures[i] == texture) return chain.frameBuffers[i];
  return std::nullopt;
}

void setUniformFloat(uint32_t programId, const char* name, float value) {
  glUniform1f(glGetUniformLocation(programId, name), value);
}
