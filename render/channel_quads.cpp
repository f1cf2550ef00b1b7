// Quad words of a still texture, rebuilt only when the source texture is another one.
#include "render/channel_quads.h"

#include "render/gl.h"

#include "render/render_targets.h"
#include "render/screen_quad.h"
#include "render/shader_program.h"
#include "render/texture_sizes.h"

namespace {

// The engine's textures have their size on record; the desktop asks GL for any other one.
SizeWH sourceSize(uint32_t source) {
  SizeWH size = rememberedTextureSize(source);
#ifndef __EMSCRIPTEN__
  if (size.width == 0) {
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &size.height);
  }
#endif
  return size;
}

void recreateWords(ChannelQuads& quads, int width, int height) {
  deleteChannelQuads(quads);
  quads.texture = createWordTexture(width, height);
  quads.framebuffer = createFramebuffer(quads.texture);
}

}  // namespace

void deleteChannelQuads(ChannelQuads& quads) {
  const GLuint texture = quads.texture, framebuffer = quads.framebuffer;
  glDeleteTextures(1, &texture);  // name 0 is skipped
  glDeleteFramebuffers(1, &framebuffer);
  quads = ChannelQuads{};
}

void setChannelQuadsRule(uint32_t programId, int channel, bool repeat) {
  glUniform1i(glGetUniformLocation(programId, "quadChannel"), channel);
  glUniform1i(glGetUniformLocation(programId, "repeatEdges"), repeat ? 1 : 0);
}

uint32_t updateChannelQuads(ChannelQuads& quads, const ShaderProgram& program, const ScreenQuad& quad, uint32_t source,
                            int channel, bool repeat) {
  if (quads.texture && quads.source == source) return quads.texture;
  bindTextureOnOwnUnit(source);
  auto [width, height] = sourceSize(source);
  // A missing texture reads as transparent black: one texel of it.
  if (!source || width < 1 || height < 1) width = height = 1;
  recreateWords(quads, width, height);
  quads.source = source;
  glBindFramebuffer(GL_FRAMEBUFFER, quads.framebuffer);
  glViewport(0, 0, width, height);
  glUseProgram(program.programId);
  setSampler(program, "renderTexture", source);
  setChannelQuadsRule(program.programId, channel, repeat);
  // The words outlive the frame: they are made even while a frame that is only simulated has
  // the rasteriser discard its drawing.
  const GLboolean discarding = glIsEnabled(GL_RASTERIZER_DISCARD);
  glDisable(GL_RASTERIZER_DISCARD);
  drawScreenQuad(quad);
  if (discarding) glEnable(GL_RASTERIZER_DISCARD);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  return quads.texture;
}
