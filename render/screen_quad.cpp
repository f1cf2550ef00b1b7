// Screen quad buffers and draw.
#include "render/screen_quad.h"

#include "render/gl.h"

#include "render/embedded_shaders.h"

const std::string& screenQuadVertexSource() {
  static const std::string empty;
  const std::string* text = findEmbeddedShader(screenQuadVertexPath);
  return text ? *text : empty;
}

ScreenQuad createScreenQuad() {
  ScreenQuad quad;
  glGenVertexArrays(1, &quad.vao);
  glGenBuffers(1, &quad.vbo);
  glBindVertexArray(quad.vao);
  glBindBuffer(GL_ARRAY_BUFFER, quad.vbo);
  glBufferData(GL_ARRAY_BUFFER, sizeof(screenQuadVertices), screenQuadVertices.data(), GL_STATIC_DRAW);
  const GLsizei stride = 4 * sizeof(float);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, nullptr);
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(2 * sizeof(float)));
  return quad;
}

void drawScreenQuad(const ScreenQuad& quad) {
  glBindVertexArray(quad.vao);
  glDrawArrays(GL_TRIANGLES, 0, 6);
}
