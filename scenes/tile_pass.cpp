// The tile mesh drawn over a chain's latest picture.
#include "scenes/tile_pass.h"

#include "render/gl.h"

#include "render/display_settings.h"
#include "geometry/tile_mesh.h"
#include "render/render_targets.h"
#include "render/shader_program.h"

void runTilePass(const PassChain& chain, TileMesh& mesh, const ShaderProgram& program, uint32_t picture,
                 double meshTime) {
  glBindFramebuffer(GL_FRAMEBUFFER, framebufferOf(chain, chain.lastTexture).value_or(chain.frameBuffers.at(0)));
  glViewport(0, 0, settings.renderWidth, settings.renderHeight);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glUseProgram(program.programId);
  setSampler(program, "texChannel0", picture);
  setUniformFloat(program.programId, "time", static_cast<float>(meshTime));
  mesh.drawTiles(meshTime, program);
  glDisable(GL_BLEND);
}
