// Base scene behaviour: the quad at init, nothing to draw or reload.
#include "scenes/base_demo_screen.h"

#include "render/render_targets.h"

void BaseDemoScreen::init() { screenQuad = createScreenQuad(); }

void BaseDemoScreen::render(GLNameList, GLNameList, GLNameList) {}

void BaseDemoScreen::reload() {}

void BaseDemoScreen::advance() {}

void BaseDemoScreen::CreateFrameBuffer() {
  const SceneFramebuffer target = createSceneFramebuffer();
  frameBuffer = target.frameBuffer;
  colorTexture = target.colorTexture;
  secondTexture = target.secondTexture;
  depthBuffer = target.depthBuffer;
}
