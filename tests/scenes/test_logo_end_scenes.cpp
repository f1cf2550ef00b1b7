// The logo and end scenes: the logo pass against its CPU arithmetic, the line-count and
// pixelate timings, which render texture the logo composite frames before and after 18.5 s,
// the end scene's window picture and fade, and what each hot reload replaces.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "render/display_settings.h"
#include "render/composite_files.h"
#include "render/embedded_shaders.h"
#include "render/render_targets.h"
#include "render/shared_uniforms.h"
#include "render/window_target.h"
#include "scenes/end_scene.h"
#include "scenes/logo_scene.h"
#include "tests/render/composite_model.h"
#include "tests/scenes/logo_pass_model.h"
#include "tests/support/cpu_image.h"
#include "tests/support/gl_context.h"
#include "timeline/fades.h"

namespace cm = composite_model;

namespace {

constexpr int renderSize = 64;
constexpr float logoPartStart = 197.701f;
constexpr float endPartStart = 252.3f;

cm::Image patternImage(int width, int height, int seed, float lo, float hi) {
  cm::Image image{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 4; ++c) image.rgba.push_back(lo + (hi - lo) * patternValue(x, y, c, seed));
  return image;
}

cm::Image imageOf(const TestTarget& target) {
  return {target.width, target.height, readTargetFloats(target)};
}

// Pixels of a float read-back against a model; fragile pixels skipped, but only a few allowed.
template <typename Model>
void expectNearModel(const std::vector<float>& pixels, int width, int height, float tolerance, Model model,
                     const std::string& what) {
  int bad = 0, fragile = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const cm::Expected want = model(x, y);
      if (want.fragile) {
        ++fragile;
        continue;
      }
      const size_t at = (static_cast<size_t>(y) * width + x) * 4;
      const float diff = std::max({std::fabs(pixels[at] - want.colour.r), std::fabs(pixels[at + 1] - want.colour.g),
                                   std::fabs(pixels[at + 2] - want.colour.b)});
      if (diff > tolerance && ++bad <= 5)
        ADD_FAILURE() << what << " pixel (" << x << ", " << y << ") off by " << diff << ": got " << pixels[at]
                      << ", want " << want.colour.r;
    }
  EXPECT_EQ(bad, 0) << what;
  EXPECT_LT(fragile, width * height / 20) << what;
}

// The shared targets, pack slots and spectrum the two scenes draw with, made once per process.
struct SceneWorld {
  GLNameList frameBuffers, renderTextures, packTextures;
  cm::Image logo, overlay, endLogo;
  std::vector<float> spectrum;
};

GLuint nearestTexture(const cm::Image& image) { return uploadTestTextureFloat(image.width, image.height, image.rgba.data()); }

SceneWorld& world() {
  static SceneWorld w = [] {
    SceneWorld made;
    settings.renderWidth = settings.renderHeight = renderSize;
    for (int i = 0; i < 3; ++i) {
      made.renderTextures.push_back(createRenderTexture());
      made.frameBuffers.push_back(createFramebuffer(made.renderTextures.back()));
    }
    for (int i = 0; i < 512; ++i) made.spectrum.push_back(0.03f + 0.02f * static_cast<float>(i % 5));
    made.renderTextures.push_back(createSoundTexture(made.spectrum.data()));
    made.logo = patternImage(renderSize, renderSize, 17, 0.0f, 1.0f);
    made.overlay = patternImage(renderSize, renderSize, 28, 0.0f, 0.5f);
    made.endLogo = patternImage(37, 23, 27, 0.2f, 1.0f);
    made.packTextures.assign(29, 0);
    made.packTextures[17] = nearestTexture(made.logo);
    made.packTextures[27] = nearestTexture(made.endLogo);
    made.packTextures[28] = nearestTexture(made.overlay);
    return made;
  }();
  return w;
}

template <typename Scene>
Scene& initialised() {
  static Scene scene;
  static const bool ready = (scene.init(), true);
  (void)ready;
  return scene;
}

TestTarget renderTarget(int index) {
  return {world().frameBuffers[index], world().renderTextures[index], renderSize, renderSize};
}

// One frame of `scene` at part time `partTime` into a float window target of the given size.
template <typename Scene>
std::vector<float> drawFrame(Scene& scene, float partStart, float partTime, int windowWidth, int windowHeight) {
  sharedUniforms = SharedUniforms{};
  fades = FadeRecords{};
  sharedUniforms.partStart = partStart;
  sharedUniforms.songPosition = partStart + partTime;
  settings.renderWidth = settings.renderHeight = renderSize;
  settings.windowWidth = windowWidth;
  settings.windowHeight = windowHeight;
  const TestTarget window = makeTestTarget(windowWidth, windowHeight, GL_RGBA32F);
  windowFramebuffer = window.framebuffer;
  scene.render(world().frameBuffers, world().renderTextures, world().packTextures);
  glFinish();
  std::vector<float> pixels = readTargetFloats(window);
  windowFramebuffer = 0;
  glDeleteFramebuffers(1, &window.framebuffer);
  glDeleteTextures(1, &window.texture);
  return pixels;
}

void paintTarget(int index, float r, float g, float b) {
  glBindFramebuffer(GL_FRAMEBUFFER, world().frameBuffers[index]);
  glClearColor(r, g, b, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// The spectrum-bar composite the logo scene ends with, framing `picture` at window = render size.
cm::BorderInputs logoFraming(const cm::Image& picture, float partTime) {
  cm::BorderInputs in;
  in.time = logoPartStart + partTime;
  in.partTime = partTime;
  in.vumeters = true;
  in.picture = picture;
  in.overlay = world().overlay;
  in.text = cm::Image{picture.width, picture.height, std::vector<float>(picture.rgba.size(), 0.0f)};
  in.spectrum = world().spectrum;
  return in;
}

}  // namespace

TEST(LogoTiming, LinesGrowFromTwoSecondsToTenThenDropToSeven) {
  EXPECT_EQ(logoLineCount(0.0f), 0.0f);
  EXPECT_EQ(logoLineCount(1.99f), 0.0f);
  EXPECT_FLOAT_EQ(logoLineCount(2.5f), 0.5f);
  EXPECT_FLOAT_EQ(logoLineCount(7.0f), 5.0f);
  EXPECT_FLOAT_EQ(logoLineCount(12.0f), 10.0f);
  EXPECT_EQ(logoLineCount(12.01f), 7.0f);
  EXPECT_EQ(logoLineCount(19.6f), 7.0f);
}

TEST(LogoTiming, PixelationStartsAtEighteenAndAHalfSecondsAndGrowsThirtyTwoPerSecond) {
  EXPECT_FALSE(logoPixelates(18.49f));
  EXPECT_TRUE(logoPixelates(18.5f));
  EXPECT_EQ(logoPixelValue(18.5f), 0.0f);
  EXPECT_NEAR(logoPixelValue(19.6f), 35.2f, 1e-3f);
}

class LogoPassTest : public GlTest {};

class LogoSceneTest : public GlTest {};

TEST_F(LogoSceneTest, BeforeEighteenAndAHalfSecondsTheCompositeFramesTheLogoPass) {
  LogoScene& scene = initialised<LogoScene>();
  paintTarget(1, 1.0f, 0.0f, 1.0f);
  const float partTime = 7.3f;
  const std::vector<float> window = drawFrame(scene, logoPartStart, partTime, renderSize, renderSize);
  const cm::Image logoPass = imageOf(renderTarget(0));
  const logo_model::LogoInputs in{partTime, logoLineCount(partTime), 1.0, world().logo};
  expectNearModel(logoPass.rgba, renderSize, renderSize, 0.01f,
                  [&](int x, int y) { return logo_model::logoPixel(in, x, y); }, "logo pass in the scene");
  const std::vector<float> untouched = readTargetFloats(renderTarget(1));
  EXPECT_EQ(untouched[0], 1.0f);
  EXPECT_EQ(untouched[1], 0.0f) << "no pixelate pass before 18.5 s";
  const cm::BorderInputs framing = logoFraming(logoPass, partTime);
  expectNearModel(window, renderSize, renderSize, 2e-3f,
                  [&](int x, int y) { return cm::borderPixel(framing, cm::Variant::SpectrumBars, x, y); },
                  "window before pixelation");
}

TEST_F(LogoSceneTest, FromEighteenAndAHalfSecondsTheCompositeFramesThePixelatedLogo) {
  LogoScene& scene = initialised<LogoScene>();
  const float partTime = 19.5f;  // cells of 32 / 512 = 4 texels of the 64-texel target
  const std::vector<float> window = drawFrame(scene, logoPartStart, partTime, renderSize, renderSize);
  const CpuImage logoPass = imageFrom(renderSize, renderSize, readTargetFloats(renderTarget(0)));
  const cm::Image pixelated = imageOf(renderTarget(1));
  const float cell = logoPixelValue(partTime) / 512.0f;
  int worst = 0;
  for (int y = 0; y < renderSize; ++y)
    for (int x = 0; x < renderSize; ++x) {
      const float u = cell * std::floor((x + 0.5f) / renderSize / cell);
      const float v = cell * std::floor((y + 0.5f) / renderSize / cell);
      const Rgba want = sampleLinear(logoPass, u, v);  // the render targets filter linearly
      for (int c = 0; c < 3; ++c)
        worst = std::max(worst, static_cast<int>(std::lround(std::fabs(pixelated.at(x, y, c) - want[c]) * 255.0f)));
    }
  EXPECT_LE(worst, 1) << "render texture 1 holds render texture 0 in cells (8-bit steps off)";
  const cm::BorderInputs framing = logoFraming(pixelated, partTime);
  expectNearModel(window, renderSize, renderSize, 2e-3f,
                  [&](int x, int y) { return cm::borderPixel(framing, cm::Variant::SpectrumBars, x, y); },
                  "window after pixelation");
}

TEST_F(LogoSceneTest, ReloadReplacesOnlyTheLogoPassFromItsFile) {
  LogoScene& scene = initialised<LogoScene>();
  const GLuint logoBefore = scene.logoProgram->programId;
  const GLuint compositeBefore = scene.compositeProgram->programId;
  EXPECT_EQ(captureStdout([&] { scene.reload(); }), "HOTRELOAD INVOKED!\nRELOADED!\n");
  EXPECT_NE(scene.logoProgram->programId, logoBefore);
  EXPECT_EQ(scene.compositeProgram->programId, compositeBefore);
  GLint linked = 0;
  glGetProgramiv(scene.logoProgram->programId, GL_LINK_STATUS, &linked);
  EXPECT_EQ(linked, GL_TRUE);
}

class EndSceneTest : public GlTest {};

TEST_F(EndSceneTest, TheWindowShowsTheUnrollingLogoAndCentreLineAtWindowSize) {
  EndScene& scene = initialised<EndScene>();
  const int width = 96, height = 200;  // the composite follows the window, not the 64 x 64 render size
  for (float partTime : {0.0f, 0.6f, 3.0f, 5.5f}) {
    const std::vector<float> window = drawFrame(scene, endPartStart, partTime, width, height);
    cm::EndInputs in;
    in.time = endPartStart + partTime;
    in.partTime = partTime;
    in.picture = cm::Image{width, height, std::vector<float>(static_cast<size_t>(width) * height * 4, 0.0f)};
    in.logo = world().endLogo;
    expectNearModel(window, width, height, 2e-3f, [&](int x, int y) { return cm::endPixel(in, x, y); },
                    "end scene at part time " + std::to_string(partTime));
  }
}

TEST_F(EndSceneTest, IsBlackFromSixSeconds) {
  EndScene& scene = initialised<EndScene>();
  for (float partTime : {6.0f, 6.7f}) {
    const std::vector<float> window = drawFrame(scene, endPartStart, partTime, 96, 200);
    float brightest = 0.0f;
    for (size_t i = 0; i < window.size(); i += 4) brightest = std::max({brightest, window[i], window[i + 1], window[i + 2]});
    // Part time is a float difference of song times, so 6.0 may land a few ulps short of it:
    // what is left is far below one step of the 8-bit window.
    EXPECT_LT(brightest, 0.5f / 255.0f) << "part time " << partTime;
  }
}

TEST_F(EndSceneTest, ReloadReplacesOnlyTheCompositeFromItsFile) {
  EndScene& scene = initialised<EndScene>();
  const GLuint copyBefore = scene.copyProgram->programId;
  const GLuint compositeBefore = scene.compositeProgram->programId;
  EXPECT_EQ(captureStdout([&] { scene.reload(); }), "HOTRELOAD INVOKED!\nRELOADED!\n");
  EXPECT_EQ(scene.copyProgram->programId, copyBefore);
  EXPECT_NE(scene.compositeProgram->programId, compositeBefore);
}
