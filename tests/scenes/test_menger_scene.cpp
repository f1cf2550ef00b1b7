// The meta cubes part: its distance field probed at points whose distances follow from the
// shapes' definitions (a sponge face, the sponge's centre tunnel, the rounded cube, the smooth
// union, the entry offsets, the object frame's turn), and the depth-of-field alpha of its scene
// pass for the centre ray and for rays that miss.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "scenes/menger_scene.h"
#include "tests/support/scene_fixture.h"

namespace {

constexpr float kPi = 3.14159265359f;

// One expression of the shape library on a 1 x 1 float target; it sees the uniforms `a`, `b`
// (vec3) and `s` (float) and yields a vec4.
std::array<float, 4> probe(const std::string& expression, std::array<float, 3> a, std::array<float, 3> b = {},
                           float s = 0.0f) {
  const GLuint program = buildTestProgram(std::string("#version 330 core\n#include \"") + metaShapesFile +
                                          "\"\nuniform vec3 a;\nuniform vec3 b;\nuniform float s;\nout vec4 c;\n"
                                          "void main() { c = " + expression + "; }\n");
  const TestTarget target = makeTestTarget(1, 1, GL_RGBA32F);
  glUseProgram(program);
  glUniform3f(glGetUniformLocation(program, "a"), a[0], a[1], a[2]);
  glUniform3f(glGetUniformLocation(program, "b"), b[0], b[1], b[2]);
  glUniform1f(glGetUniformLocation(program, "s"), s);
  drawOverTarget(program, target);
  const std::vector<float> pixel = readTargetFloats(target);
  glDeleteFramebuffers(1, &target.framebuffer);
  glDeleteTextures(1, &target.texture);
  glDeleteProgram(program);
  return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

float probeScalar(const std::string& expression, std::array<float, 3> a) { return probe("vec4(" + expression + ")", a)[0]; }

void expectVecNear(const std::array<float, 4>& got, std::array<float, 3> want, const std::string& what) {
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[k], want[k], 1e-5f) << what << ", component " << k;
}

}  // namespace

class MengerShapes : public GlTest {};

TEST_F(MengerShapes, SpongeIsZeroOnAFaceNegativeInsideAndUnderestimatesOutside) {
  const auto sponge = [](std::array<float, 3> p) { return probeScalar("metaSponge(a)", p); };
  // (1, 0.5, 0.5) lies on solid face material at every level of the sponge.
  EXPECT_NEAR(sponge({1.0f, 0.5f, 0.5f}), 0.0f, 1e-5f);
  // The centre lies in all three tunnels; the nearest material is the edge at (1/3, 1/3, 0),
  // sqrt(2) / 3 away, and the estimate is that distance times the 0.6 safety factor.
  EXPECT_NEAR(sponge({0.0f, 0.0f, 0.0f}), 0.6f * std::sqrt(2.0f) / 3.0f, 1e-4f);
  EXPECT_LT(sponge({0.85f, 0.85f, 0.85f}), 0.0f) << "inside the corner cube";
  EXPECT_GT(sponge({0.05f, -0.1f, 0.9f}), 0.05f) << "down the z tunnel near the face";
  // Two units in front of the +x face the folds underestimate the distance.
  EXPECT_GT(sponge({3.0f, 0.0f, 0.0f}), 1.0f);
  EXPECT_LT(sponge({3.0f, 0.0f, 0.0f}), 2.0f);
}

TEST_F(MengerShapes, RoundedCubeAndSmoothUnionOfWidthPointEight) {
  const auto cube = [](std::array<float, 3> p) { return probeScalar("metaRoundedCube(a)", p); };
  EXPECT_NEAR(cube({0.0f, 0.0f, 0.0f}), -0.2f, 1e-6f);
  EXPECT_NEAR(cube({0.9f, 0.0f, 0.0f}), 0.0f, 1e-6f);
  EXPECT_NEAR(cube({1.0f, 1.0f, -1.0f}), 0.3f * std::sqrt(3.0f) - 0.2f, 1e-6f);
  const auto smin = [](float x, float y) { return probeScalar("metaSmoothMin(a.x, a.y, 0.8)", {x, y, 0.0f}); };
  EXPECT_NEAR(smin(1.0f, 1.0f), 1.0f - 0.8f * 0.25f, 1e-6f);  // deepest where they meet
  EXPECT_NEAR(smin(0.0f, 0.4f), -0.05f, 1e-6f);
  EXPECT_NEAR(smin(0.4f, 0.0f), -0.05f, 1e-6f);
  EXPECT_NEAR(smin(3.0f, 0.5f), 0.5f, 1e-6f);  // a plain minimum from a difference of k on
}

TEST_F(MengerShapes, EntryOffsetsMoveBetweenTwoAndThreeSeconds) {
  const auto offsets = [](float partTime) { return probe("vec4(metaEntryOffsets(s), 0.0)", {}, {}, partTime); };
  expectVecNear(offsets(0.0f), {0.0f, 1.0f, 1.0f}, "at 0 s");
  expectVecNear(offsets(2.0f), {0.0f, 1.0f, 1.0f}, "at 2 s");
  expectVecNear(offsets(2.25f), {0.0f, 0.5f, 0.5f}, "at 2.25 s");
  expectVecNear(offsets(2.75f), {0.5f, 0.0f, 0.0f}, "at 2.75 s");
  expectVecNear(offsets(30.0f), {1.0f, 0.0f, 0.0f}, "at 30 s");
}

TEST_F(MengerShapes, ObjectFrameTurnsRowVectorTimesRotationAboutAPositionDependentAxis) {
  // With the centre at x = y = pi - 2 the axis sin(2 + centre) is +z.
  const std::array<float, 3> centre{kPi - 2.0f, kPi - 2.0f, 0.0f};
  const auto frame = [&](std::array<float, 3> offset, float tau) {
    return probe("vec4(metaInFrame(a, b, metaTurn(b, s)), 0.0)",
                 {centre[0] + offset[0], centre[1] + offset[1], offset[2]}, centre, tau);
  };
  expectVecNear(frame({0.3f, -0.2f, 0.7f}, 0.0f), {0.3f, -0.2f, 0.7f}, "tau 0 only moves into the frame");
  // The row-vector product turns +x to -y (the matrix itself turns it to +y).
  expectVecNear(frame({1.0f, 0.0f, 0.0f}, kPi / 2.0f), {0.0f, -1.0f, 0.0f}, "quarter turn");
  expectVecNear(frame({0.0f, 0.0f, 0.6f}, 1.1f), {0.0f, 0.0f, 0.6f}, "on the axis");
}

class MengerPicture : public SceneTest {};

TEST_F(MengerPicture, TheCentreRayStopsOnTheRaisedThirdSpongeOneUnitAheadAndMissedRaysAreSharp) {
  // At part time 0 the camera sits at (0, 0.5, 5) looking down -z, and sponge 3, raised by its
  // entry offset to (0.5, 1, 3), shows solid face material at z = 4 to the centre ray. In
  // front of that face the sponge estimates 0.6 of the true distance; each step covers 0.4 of
  // the estimate, so the march closes in by a factor 0.76 a step and stops once the estimate
  // drops below 0.1, 0.13 to 0.17 in front of the face, having gone 0.87 to 0.91 units.
  const CpuImage start = drawScenePass(demoScene(6), 0.0f);
  const float alpha = start.texel(sceneRenderSize / 2, sceneRenderSize / 2)[3];
  EXPECT_GT(alpha, 1.0f - 0.18f * 0.915f);
  EXPECT_LT(alpha, 1.0f - 0.18f * 0.865f);
  // At part time 11 much of the view is empty: those rays march past 5.56 and stay sharp.
  const CpuImage later = drawScenePass(demoScene(6), 11.0f);
  int sharp = 0, blurred = 0;
  for (size_t i = 3; i < later.rgba.size(); i += 4) (later.rgba[i] == 0.0f ? sharp : blurred) += 1;
  EXPECT_GT(sharp, sceneRenderSize * sceneRenderSize / 5);
  EXPECT_GT(blurred, sceneRenderSize * sceneRenderSize / 10);
}
