// The meta cubes part: its distance field (sponge, rounded cube, smooth union, entry offsets,
// object frames) probed on the GPU against CPU values and geometric facts, the depth-of-field
// alpha of the scene pass for a ray that hits and one that misses, the pass chain's wiring with
// and without FXAA, and what a hot reload replaces.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "render/display_settings.h"
#include "render/render_targets.h"
#include "render/screen_quad.h"
#include "render/shared_uniforms.h"
#include "render/window_target.h"
#include "scenes/menger_scene.h"
#include "tests/support/gl_context.h"
#include "tests/support/pass_runner.h"
#include "timeline/fades.h"

namespace {

constexpr float partStart = 217.336f;
constexpr float kPi = 3.14159265359f;

struct Vec3 {
  float x, y, z;
};

Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float length(Vec3 a) { return std::sqrt(dot(a, a)); }
Vec3 normalize(Vec3 a) { return a * (1.0f / length(a)); }
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// The sponge's eight folds and box distance, written out on the CPU.
float cpuSponge(Vec3 q) {
  for (int i = 0; i < 8; ++i) {
    q = {std::fabs(q.x), std::fabs(q.y), std::fabs(q.z)};
    if (q.x < q.y) std::swap(q.x, q.y);
    if (q.x < q.z) std::swap(q.x, q.z);
    if (q.y < q.z) std::swap(q.y, q.z);
    q = {3.0f * q.x - 2.0f, 3.0f * q.y - 2.0f, 3.0f * q.z - 2.0f};
    if (q.z < -1.0f) q.z += 2.0f;
  }
  const Vec3 d{std::fabs(q.x) - 1.0f, std::fabs(q.y) - 1.0f, std::fabs(q.z) - 1.0f};
  const Vec3 outside{std::max(d.x, 0.0f), std::max(d.y, 0.0f), std::max(d.z, 0.0f)};
  const float box = std::min(std::max({d.x, d.y, d.z}), 0.0f) + length(outside);
  return box * 0.6f * std::pow(3.0f, -8.0f);
}

// Evaluates one expression of the shape library per call on a 1 x 1 float target. The
// expression sees the uniforms `a` and `b` (vec3) and `s` (float) and yields a vec4.
std::array<float, 4> probe(const std::string& expression, Vec3 a, Vec3 b = {}, float s = 0.0f) {
  const std::string source = std::string("#version 330 core\n#include \"") + metaShapesFile +
                             "\"\nuniform vec3 a;\nuniform vec3 b;\nuniform float s;\nout vec4 fragColor;\n"
                             "void main() { fragColor = " +
                             expression + "; }\n";
  const GLuint program = buildTestProgram(source);
  const TestTarget target = makeTestTarget(1, 1, GL_RGBA32F);
  glUseProgram(program);
  glUniform3f(glGetUniformLocation(program, "a"), a.x, a.y, a.z);
  glUniform3f(glGetUniformLocation(program, "b"), b.x, b.y, b.z);
  glUniform1f(glGetUniformLocation(program, "s"), s);
  drawOverTarget(program, target);
  const std::vector<float> pixel = readTargetFloats(target);
  glDeleteFramebuffers(1, &target.framebuffer);
  glDeleteTextures(1, &target.texture);
  glDeleteProgram(program);
  return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

float probeScalar(const std::string& expression, Vec3 a, Vec3 b = {}, float s = 0.0f) {
  return probe("vec4(" + expression + ")", a, b, s)[0];
}

void expectVecNear(const std::array<float, 4>& got, Vec3 want, float tolerance, const std::string& what) {
  EXPECT_NEAR(got[0], want.x, tolerance) << what;
  EXPECT_NEAR(got[1], want.y, tolerance) << what;
  EXPECT_NEAR(got[2], want.z, tolerance) << what;
}

}  // namespace

class MengerShapes : public GlTest {};

TEST_F(MengerShapes, SpongeDistanceOutsideOnAFaceAndInAHole) {
  const auto sponge = [](Vec3 p) { return probeScalar("metaSponge(a)", p); };
  // Outside, two units in front of the +x face: the folds underestimate, as written.
  const Vec3 outside{3.0f, 0.0f, 0.0f};
  EXPECT_NEAR(sponge(outside), cpuSponge(outside), 1e-4f);
  EXPECT_GT(sponge(outside), 1.0f);
  EXPECT_LT(sponge(outside), 2.0f);
  // (1, 0.5, 0.5) lies on solid face material at every level of the sponge.
  EXPECT_NEAR(sponge({1.0f, 0.5f, 0.5f}), 0.0f, 1e-5f);
  EXPECT_NEAR(cpuSponge({1.0f, 0.5f, 0.5f}), 0.0f, 1e-5f);
  // The centre lies in all three tunnels; the nearest material is the edge at (1/3, 1/3, 0),
  // sqrt(2) / 3 away, and the estimate is that distance times the 0.6 safety factor.
  EXPECT_NEAR(sponge({0.0f, 0.0f, 0.0f}), 0.6f * std::sqrt(2.0f) / 3.0f, 1e-4f);
  // Down the z tunnel near the face: positive, and as the CPU folds say.
  const Vec3 tunnel{0.05f, -0.1f, 0.9f};
  EXPECT_GT(sponge(tunnel), 0.05f);
  EXPECT_NEAR(sponge(tunnel), cpuSponge(tunnel), 1e-4f);
  // Inside solid material (the corner cube) the distance is negative.
  const Vec3 solid{0.85f, 0.85f, 0.85f};
  EXPECT_LT(sponge(solid), 0.0f);
  EXPECT_NEAR(sponge(solid), cpuSponge(solid), 1e-4f);
}

TEST_F(MengerShapes, RoundedCubeHasHalfSizePointNineWithRoundedEdges) {
  const auto cube = [](Vec3 p) { return probeScalar("metaRoundedCube(a)", p); };
  EXPECT_NEAR(cube({0.0f, 0.0f, 0.0f}), -0.2f, 1e-6f);
  EXPECT_NEAR(cube({0.9f, 0.0f, 0.0f}), 0.0f, 1e-6f);
  EXPECT_NEAR(cube({0.0f, -1.0f, 0.3f}), 0.1f, 1e-6f);
  EXPECT_NEAR(cube({1.0f, 1.0f, -1.0f}), 0.3f * std::sqrt(3.0f) - 0.2f, 1e-6f);
}

TEST_F(MengerShapes, SmoothMinimumOfWidthPointEight) {
  const auto smin = [](float x, float y) { return probeScalar("metaSmoothMin(a.x, a.y, 0.8)", {x, y, 0.0f}); };
  EXPECT_NEAR(smin(1.0f, 1.0f), 1.0f - 0.8f * 0.25f, 1e-6f);  // deepest where they meet
  EXPECT_NEAR(smin(0.0f, 0.4f), -0.05f, 1e-6f);
  EXPECT_NEAR(smin(0.4f, 0.0f), -0.05f, 1e-6f);
  EXPECT_NEAR(smin(0.0f, 0.8f), 0.0f, 1e-6f);  // a plain minimum from a difference of k on
  EXPECT_NEAR(smin(3.0f, 0.5f), 0.5f, 1e-6f);
}

TEST_F(MengerShapes, EntryOffsetsByPartTime) {
  const auto offsets = [](float partTime) { return probe("vec4(metaEntryOffsets(s), 0.0)", {}, {}, partTime); };
  expectVecNear(offsets(0.0f), {0.0f, 1.0f, 1.0f}, 1e-6f, "at 0 s");
  expectVecNear(offsets(2.0f), {0.0f, 1.0f, 1.0f}, 1e-6f, "at 2 s");
  expectVecNear(offsets(2.25f), {0.0f, 0.5f, 0.5f}, 1e-6f, "at 2.25 s");
  expectVecNear(offsets(2.5f), {0.0f, 0.0f, 0.0f}, 1e-6f, "at 2.5 s");
  expectVecNear(offsets(2.75f), {0.5f, 0.0f, 0.0f}, 1e-6f, "at 2.75 s");
  expectVecNear(offsets(3.0f), {1.0f, 0.0f, 0.0f}, 1e-6f, "at 3 s");
  expectVecNear(offsets(30.0f), {1.0f, 0.0f, 0.0f}, 1e-6f, "at 30 s");
}

TEST_F(MengerShapes, EntryMovesSpongeOneAlongXThenSpongesTwoAndThreeBack) {
  // Centres at the same local time tau with the offsets of two part times.
  const auto centre = [](int index, float partTime) {
    return probe("vec4(metaObjectCentre(int(a.x), 1.3, metaEntryOffsets(s)), 0.0)", {float(index), 0, 0}, {},
                 partTime);
  };
  const auto shift = [&](int index) {
    const auto early = centre(index, 1.0f), late = centre(index, 3.5f);
    return Vec3{early[0] - late[0], early[1] - late[1], early[2] - late[2]};
  };
  const Vec3 sponge1 = shift(0), sponge2 = shift(1), sponge3 = shift(4);
  EXPECT_NEAR(sponge1.x, -1.0f, 1e-5f);
  EXPECT_NEAR(sponge2.x, 1.0f, 1e-5f);
  EXPECT_NEAR(sponge3.y, 1.0f, 1e-5f);
  EXPECT_NEAR(sponge1.y + sponge1.z + sponge2.y + sponge2.z + sponge3.x + sponge3.z, 0.0f, 1e-5f);
  for (int cube : {2, 3}) {
    const Vec3 still = shift(cube);
    EXPECT_NEAR(std::fabs(still.x) + std::fabs(still.y) + std::fabs(still.z), 0.0f, 1e-6f) << "cube " << cube;
  }
  // Sponge 2 at tau 1.3: 3.3 sin(0.8 tau) along x, at height 0.5.
  const auto late = centre(1, 3.5f);
  expectVecNear(late, {3.3f * std::sin(0.8f * 1.3f), 0.5f, 0.0f}, 1e-5f, "sponge 2");
}

TEST_F(MengerShapes, ObjectFrameTurnsRowVectorTimesRotationAboutAPositionDependentAxis) {
  // With the centre at x = y = pi - 2 the axis sin(2 + centre) is +z.
  const Vec3 centre{kPi - 2.0f, kPi - 2.0f, 0.0f};
  const auto frame = [&](Vec3 offset, float tau) {
    return probe("vec4(metaInFrame(a, b, metaTurn(b, s)), 0.0)", centre + offset, centre, tau);
  };
  // Tau 0 only moves the point into the object's frame.
  expectVecNear(frame({0.3f, -0.2f, 0.7f}, 0.0f), {0.3f, -0.2f, 0.7f}, 1e-5f, "tau 0");
  // A quarter turn: the row-vector product turns +x to -y (the matrix itself turns it to +y).
  expectVecNear(frame({1.0f, 0.0f, 0.0f}, kPi / 2.0f), {0.0f, -1.0f, 0.0f}, 1e-5f, "quarter turn");
  // Points on the axis stay where they are.
  expectVecNear(frame({0.0f, 0.0f, 0.6f}, 1.1f), {0.0f, 0.0f, 0.6f}, 1e-5f, "on the axis");
  // Elsewhere the axis is tilted and the turn keeps lengths.
  const auto tilted = probe("vec4(metaInFrame(a, b, metaTurn(b, s)), 0.0)", {0.4f, 1.7f, -2.0f}, {1.0f, 1.0f, -1.0f}, 0.9f);
  EXPECT_NEAR(std::sqrt(tilted[0] * tilted[0] + tilted[1] * tilted[1] + tilted[2] * tilted[2]),
              length(Vec3{-0.6f, 0.7f, -1.0f}), 1e-5f);
}

TEST_F(MengerShapes, SceneDistanceStretchesXByTheScreenAspect) {
  const Vec3 p{0.4f, 0.9f, 1.7f};
  const float wide = probeScalar("metaSceneDistance(a, s, 16.0 / 9.0)", p, {}, 12.0f);
  const float square = probeScalar("metaSceneDistance(a, s, 1.0)", {p.x * 16.0f / 9.0f, p.y, p.z}, {}, 12.0f);
  EXPECT_NEAR(wide, square, 1e-6f);
}

// The scene pass, drawn as the scene draws it, on a 32 x 32 float target at aspect 1.
class MengerPicture : public PassTest {
 protected:
  std::vector<float> drawScene(float partTime) {
    sharedUniforms.partStart = partStart;
    sharedUniforms.songPosition = partStart + partTime;
    settings.windowWidth = settings.windowHeight = size;
    const GLuint cube = texture(makeImage(8, 8, [](int x, int y) {
      return Rgba{patternValue(x, y, 0, 18), patternValue(x, y, 1, 18), patternValue(x, y, 2, 18), 1.0f};
    }));
    return runPass(metaSceneFile, 0, size, size, [&](GLuint program) { setSampler(program, "cubeTexture", cube); });
  }

  // The camera ray of pixel (x, y) at part time `partTime`, as the camera circle defines it.
  static Vec3 cameraRay(int x, int y, float partTime, Vec3& origin) {
    const float tau = 0.25f * partTime;
    origin = {5.0f * std::sin(0.1f * tau), 0.5f, 5.0f * std::cos(0.1f * tau)};
    const Vec3 dir = normalize(Vec3{0.0f, 0.5f, 0.0f} - origin);
    const Vec3 right = normalize(cross({0.0f, -1.0f, 0.0f}, origin));
    const Vec3 up = cross(dir, right);
    const float sx = 2.0f * (x + 0.5f) / size - 1.0f, sy = 2.0f * (y + 0.5f) / size - 1.0f;
    return normalize(right * sx + up * sy + dir);
  }

  static constexpr int size = 32;
};

TEST_F(MengerPicture, RaysThatPassAllObjectsFarAwayGetNoDepthOfField) {
  // Part time 11 (tau 2.75, entry offsets settled) leaves much of the view empty.
  const float partTime = 11.0f, tau = 0.25f * partTime;
  struct Bound {
    Vec3 centre;
    float radius;  // sponges: half-size 1; rounded cubes: 0.7 plus 0.2
  };
  const std::vector<Bound> objects = {
      {{1.0f + 2.2f + 0.2f * std::sin(0.6f * tau), 2.8f * std::cos(tau), 0.3f}, std::sqrt(3.0f)},
      {{3.3f * std::sin(0.8f * tau), 0.5f, 0.0f}, std::sqrt(3.0f)},
      {{-2.0f, 2.4f * std::sin(0.2f * tau), 3.0f * std::cos(1.1f * tau)}, 0.7f * std::sqrt(3.0f) + 0.2f},
      {{-0.4f * std::sin(1.2f * tau), 1.0f, 2.2f * std::cos(0.8f * tau)}, 0.7f * std::sqrt(3.0f) + 0.2f},
      {{0.5f, 2.4f * std::sin(0.2f * tau), 3.0f * std::cos(1.1f * tau)}, std::sqrt(3.0f)}};
  const std::vector<float> pixels = drawScene(partTime);
  int clear = 0, near = 0;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float alpha = pixels[(static_cast<size_t>(y) * size + x) * 4 + 3];
      if (alpha > 0.0f) ++near;
      Vec3 origin;
      const Vec3 ray = cameraRay(x, y, partTime, origin);
      // Closest approach of the ray to every object's bounding sphere, with room for the four
      // smooth unions (up to 0.2 each), the hit distance and the sponge's underestimate.
      float clearance = 1e9f;
      for (const Bound& b : objects) {
        const float along = std::max(dot(b.centre - origin, ray), 0.0f);
        clearance = std::min(clearance, length(origin + ray * along - b.centre) - b.radius);
      }
      if (clearance < 1.5f) continue;
      ++clear;
      EXPECT_EQ(alpha, 0.0f) << "pixel " << x << ", " << y;
    }
  EXPECT_GT(clear, 200);
  EXPECT_GT(near, 100) << "the objects themselves keep some depth of field";
}

TEST_F(MengerPicture, TheCentreRayStopsOnTheRaisedThirdSpongeOneUnitAhead) {
  // At part time 0 the camera sits at (0, 0.5, 5) looking down -z, and sponge 3, raised by its
  // entry offset to (0.5, 1, 3), shows solid face material at z = 4 to the centre ray. In
  // front of that face the sponge estimates 0.6 of the true distance; each step covers 0.4 of
  // the estimate, so the march closes in by a factor 0.76 a step and stops once the estimate
  // drops below 0.1, 0.13 to 0.17 in front of the face, having gone 0.87 to 0.91 units.
  const std::vector<float> pixels = drawScene(0.0f);
  const float alpha = pixels[(static_cast<size_t>(size / 2) * size + size / 2) * 4 + 3];
  EXPECT_GT(alpha, 1.0f - 0.18f * 0.915f);
  EXPECT_LT(alpha, 1.0f - 0.18f * 0.865f);
}

// The chain with stand-in programs: the scene pass shows its samplers, each post pass adds a
// step of red, and the composite shows what it reads.
class MengerChain : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    sharedUniforms = SharedUniforms{};
    fades = FadeRecords{};
    settings.renderWidth = settings.renderHeight = 8;
    settings.windowWidth = settings.windowHeight = 8;
  }
};

TEST_F(MengerChain, FourPostPassesWithFxaaThreeWithoutAndTheCompositeReadsTheLast) {
  static MengerScene scene;
  static const bool ready = (scene.init(), true);
  (void)ready;
  GLNameList frameBuffers, renderTextures, packTextures(29, 0);
  for (int i = 0; i < 3; ++i) {
    renderTextures.push_back(createRenderTexture());
    frameBuffers.push_back(createFramebuffer(renderTextures.back()));
  }
  std::vector<float> spectrum(512, 0.5f);
  renderTextures.push_back(createSoundTexture(spectrum.data()));
  const float cubeTexel[4] = {0.0f, 0.75f, 0.0f, 1.0f};
  const float overlayTexel[4] = {0.25f, 0.0f, 0.0f, 1.0f};
  packTextures[18] = uploadTestTextureFloat(1, 1, cubeTexel);
  packTextures[16] = uploadTestTextureFloat(1, 1, overlayTexel);

  const std::string head = "#version 330 core\nuniform sampler2D renderTexture;\nuniform vec2 resolution;\n";
  PassProgram keptScene = std::move(scene.scene), keptDof = std::move(scene.depthOfField),
              keptBlur = std::move(scene.radialBlur), keptBox = std::move(scene.spectrumBox),
              keptFxaa = std::move(scene.fxaa), keptComposite = std::move(scene.composite);
  const auto stand = [](const std::string& text) {
    return std::make_unique<ShaderProgram>(false, screenQuadVertexSource(), text, "");
  };
  scene.scene = stand(head +
                      "uniform sampler2D cubeTexture;\nuniform sampler2D soundTexture;\nout vec4 c;\n"
                      "void main() { c = vec4(0.0, texture(cubeTexture, vec2(0.5)).g, "
                      "texture(soundTexture, vec2(0.5)).r, 1.0); }\n");
  const std::string addRed = head + "out vec4 c;\nvoid main() { c = texture(renderTexture, gl_FragCoord.xy / "
                                    "resolution) + vec4(0.125, 0.0, 0.0, 0.0); }\n";
  scene.depthOfField = stand(addRed);
  scene.radialBlur = stand(addRed);
  scene.spectrumBox = stand(addRed);
  scene.fxaa = stand(addRed);
  scene.composite = stand(head +
                          "uniform sampler2D crosshairOverlay;\nout vec4 c;\n"
                          "void main() { vec4 p = texture(renderTexture, vec2(0.5)); "
                          "c = vec4(p.rgb, texture(crosshairOverlay, vec2(0.5)).r); }\n");

  const TestTarget window = makeTestTarget(8, 8, GL_RGBA32F);
  windowFramebuffer = window.framebuffer;
  for (bool withFxaa : {true, false}) {
    scene.sceneSettings.apply_fxaa = withFxaa;
    scene.render(frameBuffers, renderTextures, packTextures);
    const auto pixel = pixelAt(readTargetFloats(window), window, 3, 3);
    // The targets hold 8 bits a channel.
    EXPECT_NEAR(pixel[0], withFxaa ? 0.5f : 0.375f, 0.01f) << "fxaa " << withFxaa;
    EXPECT_NEAR(pixel[1], 0.75f, 0.01f) << "cube.jpg on cubeTexture";
    EXPECT_NEAR(pixel[2], 0.5f, 0.01f) << "the spectrum on soundTexture";
    EXPECT_FLOAT_EQ(pixel[3], 0.25f) << "border2.png on crosshairOverlay";
  }
  windowFramebuffer = 0;

  scene.scene = std::move(keptScene);
  scene.depthOfField = std::move(keptDof);
  scene.radialBlur = std::move(keptBlur);
  scene.spectrumBox = std::move(keptBox);
  scene.fxaa = std::move(keptFxaa);
  scene.composite = std::move(keptComposite);
  scene.sceneSettings.apply_fxaa = true;
}

class MengerSceneTest : public GlTest {};

TEST_F(MengerSceneTest, InitBuildsEverythingSilentlyWithTheSettings) {
  MengerScene scene;
  EXPECT_EQ(captureStdout([&] { scene.init(); }), "");
  EXPECT_FLOAT_EQ(scene.sceneSettings.bloom_threshold1, 0.47f);
  EXPECT_FLOAT_EQ(scene.sceneSettings.bloom_threshold2, 0.2f);
  EXPECT_TRUE(scene.sceneSettings.apply_bloom);
  EXPECT_FLOAT_EQ(scene.sceneSettings.dof1, 3.0f);
  EXPECT_FLOAT_EQ(scene.sceneSettings.dof2, 9.0f);
  EXPECT_FLOAT_EQ(scene.sceneSettings.dof3, 15.0f);
  EXPECT_TRUE(scene.sceneSettings.apply_dof);
  EXPECT_TRUE(scene.sceneSettings.apply_fxaa);
  EXPECT_EQ(scene.sceneSettings.sub_step, 0);
  EXPECT_FLOAT_EQ(scene.sceneSettings.crt_threshold, 0.0f);
}

TEST_F(MengerSceneTest, ReloadReplacesSceneDepthOfFieldAndCompositeFromTheirFiles) {
  MengerScene scene;
  scene.init();
  const GLuint sceneBefore = scene.scene->programId, dofBefore = scene.depthOfField->programId,
               compositeBefore = scene.composite->programId, blurBefore = scene.radialBlur->programId,
               fxaaBefore = scene.fxaa->programId, boxBefore = scene.spectrumBox->programId;
  EXPECT_EQ(captureStdout([&] { scene.reload(); }), "HOTRELOAD INVOKED!\nRELOADED!\n");
  EXPECT_NE(scene.scene->programId, sceneBefore);
  EXPECT_NE(scene.depthOfField->programId, dofBefore);
  EXPECT_NE(scene.composite->programId, compositeBefore);
  EXPECT_EQ(scene.radialBlur->programId, blurBefore);
  EXPECT_EQ(scene.fxaa->programId, fxaaBefore);
  EXPECT_EQ(scene.spectrumBox->programId, boxBefore);
  GLint linked = 0;
  glGetProgramiv(scene.scene->programId, GL_LINK_STATUS, &linked);
  EXPECT_EQ(linked, GL_TRUE);
}
