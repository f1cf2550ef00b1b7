// The tentacle part: sub-step boundaries and camera values by quality, the bloom drop that is
// never undone, the credits timetable at its interval bounds, the overlay projection, and on
// a GL context the target that the particles, overlays and composite use with and without
// FXAA, a silent build of all ten programs, and what a reload replaces.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "render/display_settings.h"
#include "render/render_targets.h"
#include "render/shared_uniforms.h"
#include "render/window_target.h"
#include "scenes/tentacle_scene.h"
#include "scenes/tentacle_timing.h"
#include "tests/support/gl_context.h"
#include "tests/support/pass_runner.h"

namespace {

using Camera = std::array<float, 5>;

Camera cameraOf(const SceneSettings& s) { return {s.miscData[0], s.miscData[1], s.miscData[2], s.miscData[3], s.miscData[4]}; }

void expectCamera(const SceneSettings& s, const Camera& want) {
  const Camera got = cameraOf(s);
  for (size_t k = 0; k < want.size(); ++k) EXPECT_FLOAT_EQ(got[k], want[k]) << "miscData[" << k << "]";
}

SceneSettings initialSettings() {
  SceneSettings s;
  s.bloom_threshold1 = 0.385f;
  s.miscData = {1.228f, 4.912f, 0.982f, 71.86f, 485.0f};
  return s;
}

void expectCredits(float u, int slot, float alpha, float slide) {
  const TentacleCredits c = tentacleCreditsAt(u);
  EXPECT_EQ(c.packSlot, slot) << "u = " << u;
  EXPECT_NEAR(c.alpha, alpha, 1e-4f) << "u = " << u;
  EXPECT_NEAR(c.slide, slide, 1e-4f) << "u = " << u;
}

}  // namespace

TEST(TentacleSteps, SubStepsChangeAtFourteenAndTwentyEightAndAHalfSeconds) {
  SceneSettings s = initialSettings();
  applyTentacleStep(s, 13.999f, 1);
  EXPECT_EQ(s.sub_step, 0);
  expectCamera(s, {-1.841f, -8.386f, -7.364f, -460.227f, -272.727f});
  applyTentacleStep(s, 14.0f, 1);
  EXPECT_EQ(s.sub_step, 1);
  expectCamera(s, {8.591f, 9.205f, -1.023f, -215.909f, 5.682f});
  applyTentacleStep(s, 28.499f, 1);
  EXPECT_EQ(s.sub_step, 1);
  EXPECT_FLOAT_EQ(s.bloom_threshold1, 0.385f);
  applyTentacleStep(s, 28.5f, 1);
  EXPECT_EQ(s.sub_step, 2);
  expectCamera(s, {2.25f, 0.0f, -2.25f, 227.273f, 39.772f});
  EXPECT_FLOAT_EQ(s.bloom_threshold1, 0.2f);
}

TEST(TentacleSteps, HighQualityLooksAtTheTentaclesFromElsewhere) {
  SceneSettings low = initialSettings(), high = initialSettings();
  applyTentacleStep(low, 30.0f, 0);
  applyTentacleStep(high, 30.0f, 2);
  expectCamera(low, {2.25f, 0.0f, -2.25f, 227.273f, 39.772f});
  expectCamera(high, {-3.477f, -15.75f, -2.25f, 227.273f, 39.772f});
  EXPECT_FLOAT_EQ(high.bloom_threshold1, 0.2f);
  // Before 28.5 s every quality level shares the camera.
  applyTentacleStep(high, 20.0f, 2);
  expectCamera(high, {8.591f, 9.205f, -1.023f, -215.909f, 5.682f});
}

TEST(TentacleSteps, TheSofterBloomIsNeverSetBackAfterASeek) {
  SceneSettings s = initialSettings();
  applyTentacleStep(s, 29.0f, 1);
  applyTentacleStep(s, 2.0f, 1);
  EXPECT_EQ(s.sub_step, 0);
  EXPECT_FLOAT_EQ(s.bloom_threshold1, 0.2f);
}

TEST(TentacleSteps, AnUnknownQualityKeepsTheCameraButStillChangesTheSubStep) {
  SceneSettings s = initialSettings();
  applyTentacleStep(s, 20.0f, 3);
  EXPECT_EQ(s.sub_step, 1);
  expectCamera(s, {1.228f, 4.912f, 0.982f, 71.86f, 485.0f});
  applyTentacleStep(s, 30.0f, -1);
  EXPECT_EQ(s.sub_step, 2);
  expectCamera(s, {1.228f, 4.912f, 0.982f, 71.86f, 485.0f});
}

TEST(TentacleCreditsTable, EachImageSlidesInHoldsAndSlidesOutAtItsIntervalBounds) {
  expectCredits(0.0f, 23, 0.0f, 1.0f);
  expectCredits(0.5f, 23, 0.5f, 0.5f);
  expectCredits(1.0f, 23, 1.0f, 0.0f);
  expectCredits(2.999f, 23, 1.0f, 0.0f);
  expectCredits(3.0f, 23, 1.0f, 0.0f);
  expectCredits(3.75f, 23, 0.25f, -0.75f);
  expectCredits(3.999f, 23, 0.001f, -0.999f);
  expectCredits(4.0f, 24, 0.0f, 1.0f);
  expectCredits(5.0f, 24, 1.0f, 0.0f);
  expectCredits(7.0f, 24, 1.0f, 0.0f);
  expectCredits(7.5f, 24, 0.5f, -0.5f);
  expectCredits(8.0f, 25, 0.0f, 1.0f);
  expectCredits(9.0f, 25, 1.0f, 0.0f);
  expectCredits(11.0f, 25, 1.0f, 0.0f);
  expectCredits(11.999f, 25, 0.001f, -0.999f);
}

TEST(TentacleCreditsTable, InvisibleFromTwelveSecondsToTheEndOfTheSwarm) {
  expectCredits(12.0f, 25, 0.0f, 0.0f);
  expectCredits(13.0f, 25, 0.0f, 0.0f);
  expectCredits(14.4999f, 25, 0.0f, 0.0f);
}

TEST(TentacleOverlay, SpritesStandInFrontOfAFortyFiveDegreeCamera) {
  // At depth 2.7 the quad's edge x = 1 lands at 1 / tan(22.5 deg) / 2.7 = 0.894 of the half width.
  const Mat4 centred = overlaySpriteMvp(creditsPosition(0.0f), 0.0f, 0.0f, 512, 512);
  const Vec4 edge = transform(centred, {1.0f, 0.0f, 0.0f, 1.0f});
  EXPECT_NEAR(edge.x / edge.w, 2.4142137f / 2.7f, 1e-5f);
  EXPECT_NEAR(edge.w, 2.7f, 1e-5f);
  // Sliding in from the right: the centre starts half a unit to the right.
  const Vec4 entering = transform(overlaySpriteMvp(creditsPosition(1.0f), 0.0f, 0.0f, 512, 512), {0, 0, 0, 1});
  EXPECT_NEAR(entering.x / entering.w, 0.5f * 2.4142137f / 2.7f, 1e-5f);
  // A wider target narrows the picture by the aspect.
  const Vec4 wide = transform(overlaySpriteMvp(creditsPosition(0.0f), 0.0f, 0.0f, 1024, 512), {1, 0, 0, 1});
  EXPECT_NEAR(wide.x / wide.w, 0.5f * 2.4142137f / 2.7f, 1e-5f);
  // rx turns the sprite about x: a quarter turn takes its top edge toward the viewer.
  const Vec4 tilted = transform(overlaySpriteMvp(tentacleLogoPosition, 90.0f, 0.0f, 512, 512), {0, 1, 0, 1});
  EXPECT_NEAR(tilted.w, 1.5f, 1e-5f);
}

namespace {

constexpr int renderSize = 16;
constexpr float tentaclePartStart = 109.766f;

// The shared targets, a sound texture and a pack whose bubble, logo and credits are opaque
// white, made once per process.
struct TentacleWorld {
  GLNameList frameBuffers, renderTextures, packTextures;
};

TentacleWorld& world() {
  static TentacleWorld w = [] {
    TentacleWorld made;
    settings.renderWidth = settings.renderHeight = renderSize;
    for (int i = 0; i < 3; ++i) {
      made.renderTextures.push_back(createRenderTexture());
      made.frameBuffers.push_back(createFramebuffer(made.renderTextures.back()));
    }
    const std::vector<float> silence(512, 0.0f);
    made.renderTextures.push_back(createSoundTexture(silence.data()));
    const std::vector<uint8_t> white(4 * 4 * 4, 255);
    std::vector<uint8_t> black(4 * 4 * 4, 0);
    made.packTextures.assign(29, 0);
    for (size_t slot : {10, 19, 23, 24, 25}) made.packTextures[slot] = uploadTestTexture(4, 4, white.data());
    made.packTextures[16] = uploadTestTexture(4, 4, black.data());
    return made;
  }();
  return w;
}

// Draws black with alpha 0: everything bright in the chain's output then comes from the
// particles and overlays.
const char* blackScene =
    "#version 330 core\nout vec4 fragColor;\nvoid main() { fragColor = vec4(0.0); }\n";

TentacleScene& sceneWithBlackPicture() {
  static TentacleScene scene;
  static const bool ready = [] {
    settings.renderWidth = settings.renderHeight = renderSize;
    scene.init();
    scene.scene = std::make_unique<ShaderProgram>(false, screenQuadVertexSource(), blackScene, "");
    return true;
  }();
  (void)ready;
  return scene;
}

// Centre pixels of the two chain targets and of the window after one frame at `partTime`.
struct FrameCentres {
  std::array<uint8_t, 4> target0, target1, window;
};

FrameCentres drawFrame(TentacleScene& scene, float partTime, bool fxaa) {
  sharedUniforms.partStart = tentaclePartStart;
  sharedUniforms.songPosition = tentaclePartStart + partTime;
  settings.renderWidth = settings.renderHeight = renderSize;
  settings.windowWidth = settings.windowHeight = renderSize;
  scene.sceneSettings.apply_fxaa = fxaa;
  const TestTarget window = makeTestTarget(renderSize, renderSize);
  windowFramebuffer = window.framebuffer;
  scene.render(world().frameBuffers, world().renderTextures, world().packTextures);
  glFinish();
  windowFramebuffer = 0;
  const int c = renderSize / 2;
  FrameCentres centres;
  for (int i = 0; i < 2; ++i) {
    const TestTarget t{world().frameBuffers[i], world().renderTextures[i], renderSize, renderSize};
    (i == 0 ? centres.target0 : centres.target1) = pixelAt(readTargetBytes(t), t, c, c);
  }
  centres.window = pixelAt(readTargetBytes(window), window, c, c);
  glDeleteFramebuffers(1, &window.framebuffer);
  glDeleteTextures(1, &window.texture);
  return centres;
}

// One large, fully visible bubble over the centre.
void oneBubbleInTheMiddle(TentacleScene& scene) {
  Particle p;
  p.scale = 0.5;
  p.lifeLeft = 0.45;
  p.initialLife = 0.9;
  p.decay = 0.01;
  scene.particles.particles = {p};
  scene.particles.visibleCount = 30.0;
}

void expectDrawnInto(const FrameCentres& f, int target, int atLeast, const char* what) {
  const auto& drawn = target == 0 ? f.target0 : f.target1;
  const auto& other = target == 0 ? f.target1 : f.target0;
  EXPECT_GE(drawn[0], atLeast) << what << " in target " << target;
  EXPECT_LE(other[0], 10) << what << " not in the other target";
  EXPECT_GE(f.window[0], atLeast) << what << " reaches the window";
}

}  // namespace

class TentacleSceneTest : public PassTest {};

TEST_F(TentacleSceneTest, ParticlesOverlaysAndCompositeUseTheCrtTarget) {
  TentacleScene& scene = sceneWithBlackPicture();
  for (const bool fxaa : {true, false}) {
    const int target = fxaa ? 1 : 0;
    SCOPED_TRACE(fxaa ? "with FXAA" : "without FXAA");
    oneBubbleInTheMiddle(scene);
    expectDrawnInto(drawFrame(scene, 5.0f, fxaa), target, 240, "the bubble");
    scene.particles.particles.clear();
    expectDrawnInto(drawFrame(scene, 16.0f, fxaa), target, 240, "the credits (held, alpha 1)");
    expectDrawnInto(drawFrame(scene, 30.0f, fxaa), target, 80, "the half-transparent logo");
  }
}

TEST_F(TentacleSceneTest, NoOverlayBeforeTheSwarmAndNoCreditsAfterTwelveSecondsOfIt) {
  TentacleScene& scene = sceneWithBlackPicture();
  scene.particles.particles.clear();
  EXPECT_LE(drawFrame(scene, 5.0f, true).window[0], 10) << "the lattice has no overlay";
  EXPECT_LE(drawFrame(scene, 27.0f, true).window[0], 10) << "credits faded out at u = 13";
}

TEST_F(TentacleSceneTest, TheFirstBubbleShowsOnTheFrameAfterTheRampReachedOne) {
  TentacleScene& scene = sceneWithBlackPicture();
  oneBubbleInTheMiddle(scene);
  scene.particles.visibleCount = 0.0;
  EXPECT_LE(drawFrame(scene, 0.0f, true).window[0], 10) << "first frame of the part";
  EXPECT_DOUBLE_EQ(scene.particles.visibleCount, 0.0) << "ramped to 2 x 0";
  EXPECT_LE(drawFrame(scene, 0.6f, true).window[0], 10) << "drawn before this frame's ramp";
  EXPECT_NEAR(scene.particles.visibleCount, 1.2, 1e-4);
  EXPECT_GE(drawFrame(scene, 0.62f, true).window[0], 240);
}

TEST_F(TentacleSceneTest, InitBuildsAllTenProgramsSilentlyAndCreatesItsPrivateTarget) {
  settings.renderWidth = settings.renderHeight = renderSize;
  TentacleScene scene;
  const std::string printed = captureStdout([&] { scene.init(); });
  EXPECT_EQ(printed, "CreateFrameBuffer: w:16 h:16\n");
  EXPECT_NE(scene.frameBuffer, 0u);
  EXPECT_NE(scene.colorTexture, 0u);
  EXPECT_NE(scene.secondTexture, 0u);
  EXPECT_NE(scene.depthBuffer, 0u);
  EXPECT_EQ(scene.particles.particles.size(), 30u);
  EXPECT_DOUBLE_EQ(scene.particles.visibleCount, 0.0);
  EXPECT_FLOAT_EQ(scene.sceneSettings.bloom_threshold1, 0.385f);
  EXPECT_FLOAT_EQ(scene.sceneSettings.miscData[3], 71.86f);
}

TEST_F(TentacleSceneTest, ReloadRebuildsTheSceneAndCompositeFromDiskAndKeepsTheRest) {
  TentacleScene& scene = sceneWithBlackPicture();
  const ShaderProgram* kept[] = {scene.depthOfField.get(), scene.bloom.get(), scene.crt.get(), scene.particle.get(),
                                 scene.fxaa.get(), scene.spectrumBox.get(), scene.logoSprite.get(),
                                 scene.creditsSprite.get()};
  const uint32_t blackSceneProgram = scene.scene->programId;
  const uint32_t oldComposite = scene.composite->programId;
  const std::string printed = captureStdout([&] { scene.reload(); });
  EXPECT_EQ(printed, "HOTRELOAD INVOKED!\nRELOADED!\n") << "the disk text compiles without a report";
  EXPECT_NE(scene.scene->programId, blackSceneProgram);
  EXPECT_NE(scene.composite->programId, oldComposite);
  const ShaderProgram* after[] = {scene.depthOfField.get(), scene.bloom.get(), scene.crt.get(), scene.particle.get(),
                                  scene.fxaa.get(), scene.spectrumBox.get(), scene.logoSprite.get(),
                                  scene.creditsSprite.get()};
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(after[i], kept[i]) << "program " << i;
  // Later tests of this process expect the black picture again.
  scene.scene = std::make_unique<ShaderProgram>(false, screenQuadVertexSource(), blackScene, "");
}
