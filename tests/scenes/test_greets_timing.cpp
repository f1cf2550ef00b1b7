// The greetings parts' timetables: phase boundaries, the camera and flare values by quality, the
// turn kept across phases and into the exploding part, where each image stands and when it
// explodes, and the exploding part's fixed camera, tile placement and logo fade. Every boundary
// time belongs to the later phase or state.
#include <gtest/gtest.h>

#include <cmath>

#include "render/shared_uniforms.h"
#include "scenes/greets_timing.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float songStart = 151.909f;

void expectPosition(Vec3 got, float x, float y, float z) {
  EXPECT_FLOAT_EQ(got.x, x);
  EXPECT_FLOAT_EQ(got.y, y);
  EXPECT_FLOAT_EQ(got.z, z);
}

}  // namespace

TEST(GreetsPhases, BoundariesBelongToTheLaterPhase) {
  EXPECT_EQ(greetsPhase(0.0), 1);
  EXPECT_EQ(greetsPhase(12.714999), 1);
  EXPECT_EQ(greetsPhase(12.715), 2);
  EXPECT_EQ(greetsPhase(26.429999), 2);
  EXPECT_EQ(greetsPhase(26.43), 3);
  EXPECT_EQ(greetsPhase(40.38), 3);
  EXPECT_EQ(greetsImageSlot(12.714999), 12u);
  EXPECT_EQ(greetsImageSlot(12.715), 13u);
  EXPECT_EQ(greetsImageSlot(26.43), 14u);
}

TEST(GreetsPhases, FirstPhaseDriftsTheTargetAndTheFlare) {
  const GreetsView low = greetsView(10.0, 0);
  EXPECT_FLOAT_EQ(low.miscData[0], 0.9375f);  // 15 - 14.0625
  EXPECT_FLOAT_EQ(low.miscData[1], 4.912f);
  EXPECT_FLOAT_EQ(low.miscData[2], -4.5f);
  EXPECT_FLOAT_EQ(low.miscData[3], -236.842f);
  EXPECT_FLOAT_EQ(low.miscData[4], 245.614f);
  EXPECT_FLOAT_EQ(low.flareX, static_cast<float>(0.75 - 1.179709));
  EXPECT_FLOAT_EQ(low.flareY, 0.487f);
  const GreetsView high = greetsView(10.0, 2);
  EXPECT_FLOAT_EQ(high.miscData[0], 0.78125f);  // 12.5 - 11.71875
  EXPECT_FLOAT_EQ(high.miscData[2], -4.75f);
  EXPECT_FLOAT_EQ(greetsView(10.0, 1).miscData[0], low.miscData[0]);
}

TEST(GreetsPhases, SecondPhaseStartsAtItsBoundaryWithTheOrbitAndFlareAtTheirStartValues) {
  const GreetsView atStart = greetsView(12.715, 1);
  EXPECT_FLOAT_EQ(atStart.miscData[0], 5.01f);
  EXPECT_FLOAT_EQ(atStart.miscData[3], -236.842f);
  EXPECT_FLOAT_EQ(atStart.flareX, -0.72f);
  EXPECT_FLOAT_EQ(atStart.flareY, 0.487f);
  const GreetsView later = greetsView(14.715, 2);
  EXPECT_FLOAT_EQ(later.miscData[0], 4.175f);
  EXPECT_FLOAT_EQ(later.miscData[2], -4.75f);
  EXPECT_NEAR(later.miscData[3], 36.0f - 236.842f, 1e-4f);
  EXPECT_NEAR(later.flareY, 0.487f - 0.25f, 1e-6f);
  // Just before the boundary the first phase still holds.
  EXPECT_NEAR(greetsView(12.714999, 1).miscData[0], 1.5 * 12.714999 - 14.0625, 1e-5);
}

TEST(GreetsPhases, ThirdPhaseHasItsOwnCameraForHighQuality) {
  const GreetsView low = greetsView(26.43, 0);
  EXPECT_FLOAT_EQ(low.miscData[0], -4.712f);
  EXPECT_FLOAT_EQ(low.miscData[1], 24.0f);
  EXPECT_FLOAT_EQ(low.miscData[2], -3.886f);
  EXPECT_FLOAT_EQ(low.miscData[3], 70.175f);
  EXPECT_FLOAT_EQ(low.miscData[4], 280.702f);
  EXPECT_EQ(low.flareX, 0.0f);
  EXPECT_FLOAT_EQ(low.flareY, 0.25f);
  const GreetsView high = greetsView(30.43, 2);
  EXPECT_FLOAT_EQ(high.miscData[0], -2.659f);
  EXPECT_NEAR(high.miscData[1], 3.54f - 3.0f, 1e-5f);
  EXPECT_FLOAT_EQ(high.miscData[2], -1.091f);
  EXPECT_FLOAT_EQ(high.miscData[3], 159.091f);
  EXPECT_FLOAT_EQ(high.miscData[4], 500.0f);
  EXPECT_NEAR(high.flareY, 0.75f, 1e-5f);
  EXPECT_NEAR(greetsView(30.43, 1).miscData[1], 24.0f - 6.0f, 1e-5f);
}

TEST(GreetsTurn, RyTurnsInTheFirstTwoPhasesAndRxInTheThirdEachKeepingItsValueOtherwise) {
  SharedUniforms values;
  values.rx = 3.0f;
  writeGreetsSharedValues(20.25, 1, values);  // sin(20.25 pi) = sin(pi / 4)
  const float ry = static_cast<float>(2.0 * kPi * std::sqrt(0.5));
  EXPECT_NEAR(values.ry, ry, 1e-4f);
  EXPECT_EQ(values.rx, 3.0f) << "rx keeps its value through phases 1 and 2";
  EXPECT_NEAR(values.miscData[3], 18.0 * (20.25 - 12.715) - 236.842, 1e-3);
  EXPECT_EQ(values.flare_x, -0.72f);
  writeGreetsSharedValues(30.5, 1, values);  // sin(30.5 pi) = 1
  EXPECT_NEAR(values.rx, 2.0 * kPi, 1e-4f);
  EXPECT_NEAR(values.ry, ry, 1e-4f) << "ry keeps its last phase-2 value in phase 3";
  EXPECT_EQ(values.miscData[0], -4.712f);
  // The exploding part writes its camera and flare but leaves the turn as the greets part left it.
  values.rz = 0.0f;
  writeExplodeSharedValues(3.0f, values);
  EXPECT_NEAR(values.rx, 2.0 * kPi, 1e-4f);
  EXPECT_NEAR(values.ry, ry, 1e-4f);
  EXPECT_EQ(values.rz, 0.0f);
  EXPECT_EQ(values.flare_x, 0.83f);
  EXPECT_EQ(values.flare_y, -0.458f);
}

TEST(GreetsTiles, FirstImageSlidesInFromTheRightAndExplodesAtItsTimeInclusive) {
  const float song = songStart + 1.5f;
  const TilePlacement sliding = greetsTilePlacement(1.5, song);
  expectPosition(sliding.position, 0.5f, 0.0f, -1.391f);
  EXPECT_FALSE(sliding.exploding);
  EXPECT_EQ(sliding.meshTime, static_cast<double>(song)) << "at rest the shimmer runs on the song position";
  expectPosition(greetsTilePlacement(3.0, song).position, 0.0f, 0.0f, -1.391f);
  EXPECT_FALSE(greetsTilePlacement(5.854999, song).exploding);
  const TilePlacement exploded = greetsTilePlacement(5.855, song);
  EXPECT_TRUE(exploded.exploding);
  EXPECT_EQ(exploded.meshTime, 0.0);
  expectPosition(exploded.position, 0.0f, 0.464f, -1.391f);
  EXPECT_NEAR(greetsTilePlacement(7.0, song).meshTime, 1.145, 1e-12);
}

TEST(GreetsTiles, SecondImageFliesInFromDepthFourteenAndStopsAtItsRestingDepth) {
  const TilePlacement entering = greetsTilePlacement(12.715, 0.0f);
  EXPECT_FALSE(entering.exploding) << "the new phase starts with its image whole";
  expectPosition(entering.position, 0.0f, 0.0f, -14.0f);
  EXPECT_NEAR(greetsTilePlacement(15.0, 0.0f).position.z, 4.0 * 2.285 - 14.0, 1e-5);
  EXPECT_FLOAT_EQ(greetsTilePlacement(15.87, 0.0f).position.z, -1.391f);
  EXPECT_NEAR(greetsTilePlacement(15.85, 0.0f).position.z, -1.46, 1e-5);
  EXPECT_FALSE(greetsTilePlacement(19.569999, 0.0f).exploding);
  const TilePlacement exploded = greetsTilePlacement(19.57, 0.0f);
  EXPECT_TRUE(exploded.exploding);
  EXPECT_EQ(exploded.meshTime, 0.0);
  expectPosition(exploded.position, 0.0f, 0.464f, -1.391f);
}

TEST(GreetsTiles, ThirdImageDropsFromAboveAndExplodesAtItsTimeInclusive) {
  expectPosition(greetsTilePlacement(26.43, 0.0f).position, 0.0f, 2.0f, -1.391f);
  EXPECT_NEAR(greetsTilePlacement(27.93, 0.0f).position.y, 0.5f, 1e-5f);
  EXPECT_FLOAT_EQ(greetsTilePlacement(29.0, 0.0f).position.y, 0.0f);
  EXPECT_FALSE(greetsTilePlacement(33.285999, 0.0f).exploding);
  const TilePlacement exploded = greetsTilePlacement(33.286, 0.0f);
  EXPECT_TRUE(exploded.exploding);
  EXPECT_EQ(exploded.meshTime, 0.0);
  EXPECT_NEAR(greetsTilePlacement(40.0, 0.0f).meshTime, 6.714, 1e-12);
}

TEST(ExplodeGreetsTiming, FixedCameraWithTheDriftFormulaOnThisPartsTime) {
  SharedUniforms values;
  writeExplodeSharedValues(0.0f, values);
  EXPECT_EQ(values.miscData[0], -4.712f);
  EXPECT_NEAR(values.miscData[1], -2.0f + 1.5f * 26.43f, 1e-4f);
  EXPECT_EQ(values.miscData[2], 0.0f);
  EXPECT_EQ(values.miscData[3], 70.175f);
  EXPECT_EQ(values.miscData[4], 280.702f);
  writeExplodeSharedValues(4.0f, values);
  EXPECT_NEAR(values.miscData[1], -2.0f + 1.5f * 22.43f, 1e-4f);
}

TEST(ExplodeGreetsTiming, PictureIsWholeUpToTwoSecondsInclusiveThenLiftedAndExploding) {
  const TilePlacement start = explodeTilePlacement(0.0f);
  expectPosition(start.position, 0.0f, 0.0f, -1.276f);
  EXPECT_FALSE(start.exploding);
  const TilePlacement atTwo = explodeTilePlacement(2.0f);
  EXPECT_FALSE(atTwo.exploding);
  EXPECT_EQ(atTwo.meshTime, 0.0);
  expectPosition(atTwo.position, 0.0f, 0.0f, 0.125f - 1.276f);
  const TilePlacement after = explodeTilePlacement(2.0001f);
  EXPECT_TRUE(after.exploding);
  EXPECT_FLOAT_EQ(after.position.y, 0.5f);
  EXPECT_NEAR(after.meshTime, 0.0001, 1e-6);
  EXPECT_NEAR(explodeTilePlacement(5.0f).position.z, 0.3125f - 1.276f, 1e-6f);
}

TEST(ExplodeGreetsTiming, LogoFadesInFromTwoPointSixNineFourSeconds) {
  EXPECT_EQ(explodeLogoAlpha(0.0f), 0.0f);
  EXPECT_EQ(explodeLogoAlpha(2.6939f), 0.0f);
  EXPECT_EQ(explodeLogoAlpha(2.694f), 0.0f);
  EXPECT_NEAR(explodeLogoAlpha(3.194f), 0.5f, 1e-6f);
  EXPECT_NEAR(explodeLogoAlpha(3.694f), 1.0f, 1e-6f);
}
