// The tentacle part: the softer bloom is never undone, the credits slide in, hold and slide out,
// the overlay projection; and on real frames (with a black scene picture, so what shows comes
// from the sprites) the bubbles, credits and logo reach the window with and without FXAA.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "render/gl_lists.h"
#include "render/screen_quad.h"
#include "scenes/tentacle_scene.h"
#include "scenes/tentacle_timing.h"
#include "tests/support/scene_fixture.h"

TEST(TentacleSteps, TheSofterBloomFromTwentyEightAndAHalfSecondsIsNeverSetBack) {
  SceneSettings s;
  s.bloom_threshold1 = 0.385f;
  applyTentacleStep(s, 28.499f, 1);
  EXPECT_FLOAT_EQ(s.bloom_threshold1, 0.385f);
  applyTentacleStep(s, 28.5f, 2);
  EXPECT_FLOAT_EQ(s.bloom_threshold1, 0.2f);
  applyTentacleStep(s, 2.0f, 1);
  EXPECT_EQ(s.sub_step, 0);
  EXPECT_FLOAT_EQ(s.bloom_threshold1, 0.2f);
}

TEST(TentacleCredits, EachImageSlidesInHoldsTwoSecondsAndSlidesOutThenNoneFromTwelve) {
  for (int image = 0; image < 3; ++image) {
    const float u = 4.0f * image;
    const struct {
      float at, alpha, slide;
    } rows[] = {{0.0f, 0.0f, 1.0f}, {0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 0.0f}, {3.0f, 1.0f, 0.0f}, {3.75f, 0.25f, -0.75f}};
    for (const auto& row : rows) {
      const TentacleCredits c = tentacleCreditsAt(u + row.at);
      EXPECT_EQ(c.packSlot, 23 + image) << "u = " << u + row.at;
      EXPECT_NEAR(c.alpha, row.alpha, 1e-4f) << "u = " << u + row.at;
      EXPECT_NEAR(c.slide, row.slide, 1e-4f) << "u = " << u + row.at;
    }
  }
  for (float u : {12.0f, 13.0f, 14.4999f}) EXPECT_EQ(tentacleCreditsAt(u).alpha, 0.0f) << "u = " << u;
}

TEST(TentacleOverlay, SpritesStandInFrontOfAFortyFiveDegreeCamera) {
  // At depth 2.7 the quad's edge x = 1 lands at 1 / tan(22.5 deg) / 2.7 of the half width.
  const Vec4 edge = transform(overlaySpriteMvp(creditsPosition(0.0f), 0.0f, 0.0f, 512, 512), {1, 0, 0, 1});
  EXPECT_NEAR(edge.x / edge.w, 2.4142137f / 2.7f, 1e-5f);
  EXPECT_NEAR(edge.w, 2.7f, 1e-5f);
  // Entering from the right the centre starts half a unit to the right; a wider target narrows.
  const Vec4 entering = transform(overlaySpriteMvp(creditsPosition(1.0f), 0.0f, 0.0f, 512, 512), {0, 0, 0, 1});
  EXPECT_NEAR(entering.x / entering.w, 0.5f * 2.4142137f / 2.7f, 1e-5f);
  const Vec4 wide = transform(overlaySpriteMvp(creditsPosition(0.0f), 0.0f, 0.0f, 1024, 512), {1, 0, 0, 1});
  EXPECT_NEAR(wide.x / wide.w, 0.5f * 2.4142137f / 2.7f, 1e-5f);
  // rx turns the sprite about x: a quarter turn takes its top edge toward the viewer.
  EXPECT_NEAR(transform(overlaySpriteMvp(tentacleLogoPosition, 90.0f, 0.0f, 512, 512), {0, 1, 0, 1}).w, 1.5f, 1e-5f);
}

namespace {

// Real frames with the scene picture black and alpha 0, white sprites and a black overlay.
class TentacleSprites : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    white_.emplace(std::initializer_list<size_t>{10, 19, 23, 24, 25}, 1.0f);
    black_.emplace(std::initializer_list<size_t>{16}, 0.0f);
    for (size_t i = 0; i < keptScenes_.size(); ++i) {
      keptScenes_[i] = std::move(*subStepScenes()[i]);
      *subStepScenes()[i] = std::make_unique<ShaderProgram>(
          false, screenQuadVertexSource(), "#version 330 core\nout vec4 c;\nvoid main() { c = vec4(0.0); }\n", "");
    }
  }
  void TearDown() override {
    for (size_t i = 0; i < keptScenes_.size(); ++i) *subStepScenes()[i] = std::move(keptScenes_[i]);
    scene().sceneSettings.apply_fxaa = true;
    white_.reset();
    black_.reset();
  }
  static TentacleScene& scene() { return demoScene<TentacleScene>(2); }
  static std::array<PassProgram*, 3> subStepScenes() {
    return {&scene().scene, &scene().swarmScene, &scene().tentacleFieldScene};
  }
  static float windowCentre(float partTime) { return drawFrame(scene(), partTime, 16, 16).texel(8, 8)[0]; }
  // One large, fully visible bubble over the centre.
  static void oneBubbleInTheMiddle(double visibleCount) {
    Particle p;
    p.scale = 0.5;
    p.lifeLeft = 0.45;
    p.initialLife = 0.9;
    p.decay = 0.01;
    scene().particles.particles = {p};
    scene().particles.visibleCount = visibleCount;
  }

 private:
  std::optional<FlatPackSlots> white_, black_;
  std::array<PassProgram, 3> keptScenes_;
};

}  // namespace

TEST_F(TentacleSprites, BubblesCreditsAndLogoReachTheWindowWithAndWithoutFxaa) {
  const std::vector<Particle> spawned = scene().particles.particles;
  for (const bool fxaa : {true, false}) {
    SCOPED_TRACE(fxaa ? "with FXAA" : "without FXAA");
    scene().sceneSettings.apply_fxaa = fxaa;
    oneBubbleInTheMiddle(30.0);
    EXPECT_GE(windowCentre(5.0f), 0.94f) << "the bubble";
    scene().particles.particles.clear();
    EXPECT_LE(windowCentre(5.0f), 0.04f) << "the lattice has no overlay";
    EXPECT_GE(windowCentre(16.0f), 0.94f) << "the credits, held at alpha 1";
    EXPECT_LE(windowCentre(27.0f), 0.04f) << "the credits faded out at u = 13";
    EXPECT_GE(windowCentre(30.0f), 0.31f) << "the half-transparent logo";
  }
  scene().particles.particles = spawned;
}

