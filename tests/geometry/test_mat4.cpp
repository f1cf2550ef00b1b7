// Mat4 against hand-computed matrices, and the seed sources' fixed mode.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/mat4.h"
#include "geometry/random_seeds.h"

namespace {

constexpr float kPi = 3.14159265358979f;

void expectVec4(Vec4 actual, Vec4 expected) {
  EXPECT_NEAR(actual.x, expected.x, 1e-5f);
  EXPECT_NEAR(actual.y, expected.y, 1e-5f);
  EXPECT_NEAR(actual.z, expected.z, 1e-5f);
  EXPECT_NEAR(actual.w, expected.w, 1e-5f);
}

TEST(Mat4, StoresColumnsFirstAndAChainScalesFirstThenTurnsThenMoves) {
  const Mat4 t = Mat4::identity().translate({2.0f, 3.0f, 4.0f});
  EXPECT_EQ((std::vector<float>{t.m[12], t.m[13], t.m[14], t.m[15], t.m[3]}), (std::vector<float>{2, 3, 4, 1, 0}));
  // translate (1, 2, 0), rotate 90 degrees about z, scale by 3: (1, 0, 0) -> (3, 0, 0) ->
  // (0, 3, 0) -> (1, 5, 0).
  const Mat4 model = Mat4::identity().translate({1.0f, 2.0f, 0.0f}).rotate(kPi / 2.0f, {0, 0, 1}).scale({3, 3, 3});
  expectVec4(transform(model, {1, 0, 0, 1}), {1.0f, 5.0f, 0.0f, 1.0f});
}

TEST(Mat4, RotationIsRightHandedAndNormalisesItsAxis) {
  // A quarter turn about +x takes +y to +z, whatever the axis length.
  const Mat4 r = Mat4::identity().rotate(kPi / 2.0f, {5.0f, 0.0f, 0.0f});
  expectVec4(transform(r, {0, 1, 0, 1}), {0, 0, 1, 1});
  // A third of a turn about (1, 1, 1) cycles the axes: x -> y -> z.
  const Mat4 cycle = Mat4::identity().rotate(2.0f * kPi / 3.0f, {2.0f, 2.0f, 2.0f});
  expectVec4(transform(cycle, {1, 0, 0, 1}), {0, 1, 0, 1});
}

TEST(Mat4, PerspectiveAtFortyFiveDegreesAndSquareAspect) {
  const Mat4 p = Mat4::perspective(45.0f * kPi / 180.0f, 1.0f, 1.0f, 100.0f);
  const float f = 1.0f / std::tan(22.5f * kPi / 180.0f);  // 2.4142137
  EXPECT_NEAR(p.at(0, 0), 2.4142137f, 1e-5f);
  EXPECT_NEAR(p.at(1, 1), f, 1e-5f);
  // The near plane maps to depth -1 and the far plane to +1, which fixes the depth row.
  const Vec4 nearPoint = transform(p, {0, 0, -1, 1});
  const Vec4 farPoint = transform(p, {0, 0, -100, 1});
  EXPECT_NEAR(nearPoint.z / nearPoint.w, -1.0f, 1e-5f);
  EXPECT_NEAR(farPoint.z / farPoint.w, 1.0f, 1e-4f);
}

TEST(RandomSeeds, FixedSeedsCountUpAcrossBothSources) {
  useFixedSeeds(7);
  EXPECT_TRUE(usingFixedSeeds());
  EXPECT_EQ(clockSeed(), 7u);
  EXPECT_EQ(deviceSeed(), 8u);
  EXPECT_EQ(clockSeed(), 9u);
}

}  // namespace
