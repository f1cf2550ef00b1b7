// Rectangles as scissored clears.
#include "studio/overlay_rects.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

void drawOverlayRects(const std::vector<OverlayRect>& rects, uint32_t framebuffer, int width, int height) {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glViewport(0, 0, width, height);
  glEnable(GL_SCISSOR_TEST);
  for (const OverlayRect& rect : rects) {
    const GLint x = static_cast<GLint>(std::lround(rect.x));
    const GLint top = static_cast<GLint>(std::lround(rect.y));
    const GLsizei w = static_cast<GLsizei>(std::max(1L, std::lround(rect.width)));
    const GLsizei h = static_cast<GLsizei>(std::max(1L, std::lround(rect.height)));
    glScissor(x, height - top - h, w, h);
    glClearColor(rect.color[0], rect.color[1], rect.color[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  glDisable(GL_SCISSOR_TEST);
}
