// The tile mesh drawn over a chain's latest picture.
#include "scenes/tile_pass.h"

#include <GL/glew.h>

#include "render/display_settings.h"
#include "geometry/tile_mesh.h"
#include "render/render_targets.h"
#include "render/shader_program.h"

namespace {

uint32_t framebufferOfLastTexture(const PassChain& chain) {
  for (size_t i = 0; i < chain.frameBuffers.size() && i < chain.renderTextures.size(); ++i)
    if (chain.renderTextures[i] == chain.lastTexture) return chain.frameBuffers[i];
  return chain.frameBuffers.at(0);
}

}  // namespace

void runTilePass(const PassChain& chain, TileMesh& mesh, const ShaderProgram& program, uint32_t picture,
                 double meshTime) {
  glBindFramebuffer(GL_FRAMEBUFFER, framebufferOfLastTexture(chain));
  glViewport(0, 0, settings.renderWidth, settings.renderHeight);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glUseProgram(program.programId);
  setSampler(program, "texChannel0", picture);
  setUniformFloat(program.programId, "time", static_cast<float>(meshTime));
  mesh.drawTiles(meshTime, program);
  glDisable(GL_BLEND);
}
