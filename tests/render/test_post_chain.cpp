// The pass skeleton: post passes alternate targets so the composite always reads the texture
// written last, the composite sees the window size as `resolution`, and the spectrum box draws
// over its own pixels only, the rest of the picture copied.
#include <gtest/gtest.h>

#include "render/display_settings.h"
#include "render/post_chain.h"
#include "render/render_targets.h"
#include "render/shader_program.h"
#include "render/pixel_box.h"
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

// Paints every pixel it draws green, given the `testBox` below.
const char* paintGreen =
    "#version 330 core\nuniform vec4 spectrumBox;\nout vec4 color;\n"
    "void main() { color = vec4(0.0, 1.0, 0.0, spectrumBox.w > 0.0 ? 1.0 : 0.5); }\n";
const UvBox testBox{0.3f, 0.55f, 0.25f, 0.125f};

SharedTargets makeSharedTargets(int renderSize = 8) {
  settings.renderWidth = settings.renderHeight = renderSize;
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

bool centreInside(int pixel, int size, float from, float length) {
  const float at = (static_cast<float>(pixel) + 0.5f) / static_cast<float>(size);
  return at > from && at < from + length;
}

}  // namespace

TEST(SpectrumBox, PixelsCoveringHoldEveryCentreInsideTheBoxAndAtMostAPixelMoreEachSide) {
  const std::vector<UvBox> boxes = {spectrumBoxUv, testBox, {0.0f, 0.9f, 1.0f, 0.1f}};
  for (const UvBox& uv : boxes)
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{32, 32}, {512, 512}, {320, 180}, {1920, 1080}, {5, 3}}) {
      const PixelBox box = pixelsCovering(uv, w, h);
      int first = w, last = -1;
      for (int x = 0; x < w; ++x)
        if (centreInside(x, w, uv.left, uv.width)) first = std::min(first, x), last = x;
      int bottom = h, top = -1;
      for (int y = 0; y < h; ++y)
        if (centreInside(y, h, uv.bottom, uv.height)) bottom = std::min(bottom, y), top = y;
      if (last < 0 || top < 0) continue;  // a target too small to hold a pixel of the box
      EXPECT_TRUE(box.x <= first && box.x >= first - 1) << w << "x" << h;
      EXPECT_TRUE(box.x + box.width - 1 >= last && box.x + box.width - 1 <= last + 1) << w << "x" << h;
      EXPECT_TRUE(box.y <= bottom && box.y >= bottom - 1) << w << "x" << h;
      EXPECT_TRUE(box.y + box.height - 1 >= top && box.y + box.height - 1 <= top + 1) << w << "x" << h;
      EXPECT_TRUE(box.x >= 0 && box.y >= 0 && box.x + box.width <= w && box.y + box.height <= h) << "inside the target";
    }
}

class PostChain : public GlTest {};

TEST_F(PostChain, CompositeReadsTheTextureWrittenLastForOddAndEvenChains) {
  for (int passes = 1; passes <= 3; ++passes) {
    const auto pixel = compositeOf(passes);
    EXPECT_NEAR(pixel[0], 64 * passes, 2) << passes << " passes";
    EXPECT_NEAR(pixel[1], 128, 1) << "the composite sees the window width";
    EXPECT_NEAR(pixel[2], 64, 1) << "and the window height";
  }
}

TEST_F(PostChain, SpectrumPassDrawsOverItsBoxOnlyAndACopyingPassDrawsNothing) {
  const int n = 32;
  const SharedTargets targets = makeSharedTargets(n);
  const ShaderProgram add(false, screenQuadVertexSource(), addQuarter, "");
  const ShaderProgram green(false, screenQuadVertexSource(), paintGreen, "");
  PassChain chain = beginPassChain(targets.frameBuffers, targets.renderTextures, createScreenQuad());
  runBlackScenePass(chain);
  runPostPass(chain, add);
  runSpectrumPass(chain, green, testBox);
  const uint32_t boxed = chain.lastTexture;
  runPostPassAsCopy(chain, green);
  EXPECT_NE(chain.lastTexture, boxed) << "the copy is a pass of its own";
  const int last = chain.lastTexture == targets.renderTextures[0] ? 0 : 1;
  const TestTarget written{targets.frameBuffers[last], targets.renderTextures[last], n, n};
  const std::vector<uint8_t> bytes = readTargetBytes(written);
  const PixelBox box = pixelsCovering(testBox, n, n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const bool inBox = x >= box.x && x < box.x + box.width && y >= box.y && y < box.y + box.height;
      const auto pixel = pixelAt(bytes, written, x, y);
      EXPECT_EQ(pixel[1], inBox ? 255 : 0) << x << "," << y;
      EXPECT_NEAR(pixel[0], inBox ? 0 : 64, 1) << x << "," << y;
    }
}
