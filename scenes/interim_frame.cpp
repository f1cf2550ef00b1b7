// The black stand-in frame.
#include "scenes/interim_frame.h"

#include "render/post_chain.h"

void drawInterimFrame(const GLNameList& frameBuffers, const GLNameList& renderTextures, const ScreenQuad& quad) {
  PassChain chain = beginPassChain(frameBuffers, renderTextures, quad);
  runBlackScenePass(chain);
  blitToWindow(chain);
}
