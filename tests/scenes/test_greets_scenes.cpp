// The two greetings parts: the turn kept across phases and into the exploding part, where each
// image stands and when it explodes, the exploding part's fixed camera and logo fade; and on
// real frames the frame's own camera and flare reaching the ray-marcher, and the exploding part
// replaying identically.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "render/display_settings.h"
#include "render/shared_uniforms.h"
#include "scenes/explode_greets_scene.h"
#include "scenes/greets_scene.h"
#include "scenes/greets_timing.h"
#include "tests/support/scene_fixture.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

void expectPlacement(const TilePlacement& got, float x, float y, float z, bool exploding, const std::string& what) {
  EXPECT_NEAR(got.position.x, x, 1e-5f) << what;
  EXPECT_NEAR(got.position.y, y, 1e-5f) << what;
  EXPECT_NEAR(got.position.z, z, 1e-5f) << what;
  EXPECT_EQ(got.exploding, exploding) << what;
}

}  // namespace

TEST(GreetsTiming, RyTurnsInTheFirstTwoPhasesAndRxInTheThirdEachKeepingItsValueOtherwise) {
  SharedUniforms values;
  values.rx = 3.0f;
  writeGreetsSharedValues(20.25, 1, values);  // sin(20.25 pi) = sin(pi / 4)
  const float ry = static_cast<float>(2.0 * kPi * std::sqrt(0.5));
  EXPECT_NEAR(values.ry, ry, 1e-4f);
  EXPECT_EQ(values.rx, 3.0f);
  writeGreetsSharedValues(30.5, 1, values);  // sin(30.5 pi) = 1
  EXPECT_NEAR(values.rx, 2.0 * kPi, 1e-4f);
  EXPECT_NEAR(values.ry, ry, 1e-4f) << "ry keeps its last phase-2 value";
  writeExplodeSharedValues(3.0f, values);
  EXPECT_NEAR(values.rx, 2.0 * kPi, 1e-4f) << "the exploding part leaves the turn alone";
  EXPECT_NEAR(values.ry, ry, 1e-4f);
  EXPECT_EQ(values.flare_x, 0.83f);
  EXPECT_EQ(values.flare_y, -0.458f);
  EXPECT_NEAR(values.miscData[1], -2.0f - 1.5f * (3.0f - 26.43f), 1e-4f);
}

TEST(GreetsTiming, EachImageEntersThenExplodesAtItsTimeInclusive) {
  expectPlacement(greetsTilePlacement(0.0, 0.0f), 2.0f, 0.0f, -1.391f, false, "first image enters from the right");
  expectPlacement(greetsTilePlacement(2.0, 0.0f), 0.0f, 0.0f, -1.391f, false, "first image at rest");
  expectPlacement(greetsTilePlacement(12.715, 0.0f), 0.0f, 0.0f, -14.0f, false, "second image far away");
  expectPlacement(greetsTilePlacement(15.87, 0.0f), 0.0f, 0.0f, -1.391f, false, "second image arrived");
  expectPlacement(greetsTilePlacement(26.43, 0.0f), 0.0f, 2.0f, -1.391f, false, "third image above");
  expectPlacement(greetsTilePlacement(28.43, 0.0f), 0.0f, 0.0f, -1.391f, false, "third image at rest");
  EXPECT_EQ(greetsTilePlacement(3.0, 160.0f).meshTime, 160.0) << "at rest the shimmer runs on the song position";
  // Each boundary belongs to the later image.
  for (const auto& [pt, slot] : {std::pair{12.714999, 12u}, {12.715, 13u}, {26.429999, 13u}, {26.43, 14u}})
    EXPECT_EQ(greetsImageSlot(pt), slot) << "pt = " << pt;
  for (double at : {5.855, 19.57, 33.286}) {
    EXPECT_FALSE(greetsTilePlacement(at - 1e-6, 0.0f).exploding) << at;
    expectPlacement(greetsTilePlacement(at, 0.0f), 0.0f, 0.464f, -1.391f, true, "exploded at " + std::to_string(at));
    EXPECT_EQ(greetsTilePlacement(at, 0.0f).meshTime, 0.0) << at;
    EXPECT_NEAR(greetsTilePlacement(at + 1.25, 0.0f).meshTime, 1.25, 1e-9) << at;
  }
}

TEST(ExplodeGreetsTiming, WholeUpToTwoSecondsInclusiveThenLiftedAndExplodingWithTheLogoFadingIn) {
  expectPlacement(explodeTilePlacement(0.0f), 0.0f, 0.0f, -1.276f, false, "start");
  expectPlacement(explodeTilePlacement(2.0f), 0.0f, 0.0f, 0.125f - 1.276f, false, "at 2 s");
  const TilePlacement after = explodeTilePlacement(2.0001f);
  EXPECT_TRUE(after.exploding);
  EXPECT_FLOAT_EQ(after.position.y, 0.5f);
  EXPECT_NEAR(after.meshTime, 0.0001, 1e-6);
  EXPECT_EQ(explodeLogoAlpha(2.6939f), 0.0f);
  EXPECT_EQ(explodeLogoAlpha(2.694f), 0.0f);
  EXPECT_NEAR(explodeLogoAlpha(3.694f), 1.0f, 1e-6f);
}

namespace {

class GreetsFrames : public SceneTest {
 protected:
  static GreetsScene& greets() { return demoScene<GreetsScene>(3); }
  static ExplodeGreetsScene& explode() { return demoScene<ExplodeGreetsScene>(4); }
};

float uniformValue(GLuint program, const char* name) {
  float value = -12345.0f;
  glGetUniformfv(program, glGetUniformLocation(program, name), &value);
  return value;
}

}  // namespace

TEST_F(GreetsFrames, TheFramesCameraAndFlareReachTheRaymarcherInTheSameFrame) {
  qualityCopy = 0;
  for (float partTime : {4.0f, 20.0f, 30.0f}) {
    drawFrame(greets(), partTime, 16, 16);
    const GreetsView view = greetsView(sharedUniforms.songPosition - sharedUniforms.partStart, 0);
    const GLuint program = greets().scene->programId;
    EXPECT_FLOAT_EQ(uniformValue(program, "miscData[0]"), view.miscData[0]) << "part time " << partTime;
    EXPECT_FLOAT_EQ(uniformValue(program, "miscData[3]"), view.miscData[3]) << "part time " << partTime;
    EXPECT_FLOAT_EQ(uniformValue(program, "flare_x"), view.flareX) << "part time " << partTime;
    EXPECT_FLOAT_EQ(uniformValue(program, "flare_y"), view.flareY) << "part time " << partTime;
  }
  qualityCopy = 1;
}

TEST_F(GreetsFrames, TheTurnIsKeptIntoTheExplodingPartWhichReplaysIdenticallyWhenEnteredAgain) {
  sharedUniforms.rz = 7.0f;
  drawFrame(greets(), 20.25f, 16, 16);
  EXPECT_EQ(sharedUniforms.rz, 0.0f) << "the greets part sets rz to 0 every frame";
  drawFrame(greets(), 30.3f, 16, 16);
  const float rx = sharedUniforms.rx, ry = sharedUniforms.ry;
  EXPECT_NE(rx, 0.0f);
  EXPECT_NE(ry, 0.0f);
  const std::vector<float> times = {0.5f, 2.2f, 3.1f, 4.6f};
  std::vector<CpuImage> first;
  for (float t : times) first.push_back(drawFrame(explode(), t, 16, 16));
  EXPECT_EQ(sharedUniforms.rx, rx);
  EXPECT_EQ(sharedUniforms.ry, ry);
  EXPECT_NE(first[0].rgba, first[2].rgba) << "the frames differ along the part";
  for (size_t i = 0; i < times.size(); ++i)
    EXPECT_EQ(drawFrame(explode(), times[i], 16, 16).rgba, first[i].rgba) << "part time " << times[i];
}
