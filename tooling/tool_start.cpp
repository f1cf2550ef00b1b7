// Tool display bring-up and the refusals before it.
#include "tooling/tool_start.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdio>

#include "app/display.h"
#include "render/display_settings.h"
#include "resources/pack_directory.h"
#include "scenes/scene_set.h"
#include "tooling/pack_check.h"

namespace {

bool refuse(const char* tool, const std::string& problem) {
  std::fprintf(stderr, "%s: %s\n", tool, problem.c_str());
  return false;
}

// The render targets are textures and the scenes' depth buffers renderbuffers.
int glSizeLimit() {
  GLint texture = 0, renderbuffer = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
  return std::min(texture, renderbuffer);
}

std::string sizeText(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

}  // namespace

std::string toolSizeProblem(int glLimit) {
  const int render = std::max(settings.renderWidth, settings.renderHeight);
  if (render > largestRenderSize)
    return "render size " + std::to_string(render) + " is over " + std::to_string(largestRenderSize);
  const int largest = std::max(render, std::max(settings.windowWidth, settings.windowHeight));
  if (glLimit > 0 && largest > glLimit)
    return "this GL holds textures up to " + std::to_string(glLimit) + " on a side, not render " +
           sizeText(settings.renderWidth, settings.renderHeight) + " and output " +
           sizeText(settings.windowWidth, settings.windowHeight);
  return "";
}

bool openToolDisplay(const char* tool, bool hidden) {
  if (const std::string problem = toolSizeProblem(0); !problem.empty()) return refuse(tool, problem);
  if (const std::string problem = packProblem(packFilePath); !problem.empty()) return refuse(tool, problem);
  if (!openDisplay(hidden)) return refuse(tool, "could not open a GL context");
  if (const std::string problem = toolSizeProblem(glSizeLimit()); !problem.empty()) return refuse(tool, problem);
  if (!loadScenes()) return refuse(tool, "could not build the scenes' programs");
  return true;
}
