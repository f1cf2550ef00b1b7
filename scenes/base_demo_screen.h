// The abstract base of the eight scene classes: one object per demo part, living for the
// whole run. Owns: the scene's private target names, its settings record and its screen quad.
// Does NOT own the shared render targets or the pack textures: render receives copies.
#pragma once
#include <cstdint>

#include "render/gl_lists.h"
#include "render/screen_quad.h"
#include "timeline/scene_settings.h"

class BaseDemoScreen {
 public:
  virtual ~BaseDemoScreen() = default;
  // Creates the screen quad; derived versions then build their programs and write settings.
  virtual void init();
  // Draws one whole frame, ending in the window at window size.
  virtual void render(GLNameList frameBuffers, GLNameList renderTextures, GLNameList packTextures);
  // Rebuilds the file-backed programs from ./shaders/; the base has none.
  virtual void reload();
  // What a frame changes without drawing: the values the scene keeps from frame to frame and
  // the shared values it writes that outlast the frame. A frame that is only simulated (the
  // offline renderer's frames before the first one it writes) runs this instead of render, and
  // render makes the same changes itself. The base keeps nothing.
  virtual void advance();

  // Prints the target size and creates the private target (only the tentacle scene calls it).
  void CreateFrameBuffer();

  uint32_t frameBuffer = 0;
  uint32_t colorTexture = 0;
  uint32_t secondTexture = 0;
  uint32_t depthBuffer = 0;
  SceneSettings sceneSettings;
  ScreenQuad screenQuad;
};
