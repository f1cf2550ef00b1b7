// The WebGL2 context of the page.
#include "web/web_display.h"

#include <emscripten/html5.h>

#include "render/display_settings.h"
#include "scenes/frame_step_render.h"
#include "scenes/scene_set.h"

namespace {
constexpr const char* canvasSelector = "#canvas";
}  // namespace

void resizeWebDisplay(int width, int height) {
  emscripten_set_canvas_element_size(canvasSelector, width, height);
  settings.windowWidth = width;
  settings.windowHeight = height;
}

std::string openWebDisplay(int width, int height, bool keepPicture) {
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.majorVersion = 2;
  attributes.minorVersion = 0;
  attributes.alpha = false;
  attributes.depth = true;
  attributes.antialias = false;
  attributes.preserveDrawingBuffer = keepPicture;
  resizeWebDisplay(width, height);
  const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context(canvasSelector, &attributes);
  if (context <= 0) return "This browser has no WebGL2, which the demo needs.";
  emscripten_webgl_make_context_current(context);
  // Every pass renders into half- or full-float targets, read back with linear filtering.
  if (!emscripten_webgl_enable_extension(context, "EXT_color_buffer_float"))
    return "This browser's WebGL2 cannot render into float textures, which the demo needs.";
  emscripten_webgl_enable_extension(context, "OES_texture_float_linear");
  return "";
}

std::string openWebScenes(int width, int height, bool keepPicture) {
  if (std::string problem = openWebDisplay(width, height, keepPicture); !problem.empty()) return problem;
  if (!loadScenes()) return "The demo's shaders did not build in this browser.";
  createFrameResources();
  return "";
}
