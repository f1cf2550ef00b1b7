// The pass skeleton: post passes alternate targets so the composite always reads the texture
// written last, and the composite sees the window size as `resolution`.
#include <gtest/gtest.h>

#include "render/display_settings.h"
#include "render/post_chain.h"
#include "render/render_targets.h"
#include "render/shader_program.h"
#include "render/window_target.h"
#include "tests/support/gl_context.h"

namespace {

// Adds 0.25 to red, so the number of passes that ran shows in the picture.
const char* addQuarter =
    "#version 330 core\nuniform sampler2D renderTexture;\nuniform vec2 resolution;\nout vec4 color;\n"
    "void main() { color = texture(renderTexture, gl_FragCoord.xy / resolution) + vec4(0.25, 0.0, 0.0, 1.0); }\n";
// Shows `resolution` / 64 in green and blue, and the input's red.
const char* showResolution =
    "#version 330 core\nuniform sampler2D renderTexture;\nuniform vec2 resolution;\nout vec4 color;\n"
    "void main() { color = vec4(texture(renderTexture, vec2(0.5)).r, resolution / 64.0, 1.0); }\n";

struct SharedTargets {
  GLNameList frameBuffers;
  GLNameList renderTextures;
};

SharedTargets makeSharedTargets() {
  settings.renderWidth = settings.renderHeight = 8;
  settings.windowWidth = 32;
  settings.windowHeight = 16;
  SharedTargets t;
  for (int i = 0; i < 3; ++i) {
    t.renderTextures.push_back(createRenderTexture());
    t.frameBuffers.push_back(createFramebuffer(t.renderTextures.back()));
  }
  const float silence[512] = {};
  t.renderTextures.push_back(createSoundTexture(silence));
  return t;
}

std::array<uint8_t, 4> compositeOf(int postPasses) {
  const SharedTargets targets = makeSharedTargets();
  const ShaderProgram add(false, screenQuadVertexSource(), addQuarter, "");
  const ShaderProgram show(false, screenQuadVertexSource(), showResolution, "");
  const TestTarget window = makeTestTarget(32, 16);
  windowFramebuffer = window.framebuffer;
  PassChain chain = beginPassChain(targets.frameBuffers, targets.renderTextures, createScreenQuad());
  runBlackScenePass(chain);
  for (int k = 0; k < postPasses; ++k) runPostPass(chain, add);
  runComposite(chain, show, 0, false);
  windowFramebuffer = 0;
  return pixelAt(readTargetBytes(window), window, 3, 3);
}

}  // namespace

class PostChain : public GlTest {};

TEST_F(PostChain, CompositeReadsTheTextureWrittenLastForOddAndEvenChains) {
  for (int passes = 1; passes <= 3; ++passes) {
    const auto pixel = compositeOf(passes);
    EXPECT_NEAR(pixel[0], 64 * passes, 2) << passes << " passes";
    EXPECT_NEAR(pixel[1], 128, 1) << "the composite sees the window width";
    EXPECT_NEAR(pixel[2], 64, 1) << "and the window height";
  }
}
