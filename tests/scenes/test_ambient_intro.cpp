// The intro part: its scene pass probed on tiny float targets for what follows from the fixed
// arithmetic (black at part time 0, the fade complete at 4 s, no dust before 10 s, the
// spectrum bin the relief reads, beat desaturation, the lens falloff, the depth-of-field
// amount over a flat terrain), the caption timetable at its boundaries, the whole chain into
// the window, the hue value it publishes, and what a hot reload rebuilds from disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "render/display_settings.h"
#include "render/embedded_shaders.h"
#include "render/render_targets.h"
#include "render/screen_quad.h"
#include "render/shader_program.h"
#include "render/shared_uniforms.h"
#include "render/window_target.h"
#include "scenes/ambient_intro_scene.h"
#include "scenes/intro_captions.h"
#include "scenes/scene_shader_files.h"
#include "tests/support/cpu_image.h"
#include "tests/support/gl_context.h"
#include "tests/support/temp_files.h"
#include "timeline/fades.h"

namespace {

constexpr int probeSize = 32;

// What the scene shader reads besides the render size.
struct IntroInputs {
  float songTime = 0.0f;  // `time`: moves the camera
  float partTime = 0.0f;
  float lerp3 = 0.0f;
  float lightPulse = 0.0f;  // uploaded as lightAdd = 2 x this
};

// A smooth, tileable rock-like field in the red channel, kept away from 0 so the noise sum is
// never zero.
CpuImage terrainImage() {
  const float tau = 6.2831853f;
  return makeImage(64, 64, [&](int x, int y) {
    const float u = x / 64.0f, v = y / 64.0f;
    const float r = 0.55f + 0.2f * std::sin(tau * u) * std::cos(tau * 2.0f * v) + 0.15f * std::sin(tau * 3.0f * (u + v));
    return Rgba{r, 0.4f, 0.3f, 1.0f};
  });
}

CpuImage flatImage(int w, int h, const Rgba& colour) {
  return makeImage(w, h, [&](int, int) { return colour; });
}

// Wrapping, linearly filtered like the pack textures.
GLuint packLikeTexture(const CpuImage& image) {
  const GLuint name = uploadTestTextureFloat(image.width, image.height, image.rgba.data());
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  return name;
}

void setSharedValues(const IntroInputs& in) {
  sharedUniforms = SharedUniforms{};
  fades = FadeRecords{};
  sharedUniforms.songPosition = in.songTime;
  sharedUniforms.partStart = in.songTime - in.partTime;
  fades.lerp3.value = in.lerp3;
  fades.lightPulse.value = in.lightPulse;
  settings.renderWidth = settings.renderHeight = probeSize;
}

// `program` as the intro's scene pass over a probeSize square float target, with the shared
// values as they stand: rgba per pixel, rows bottom first.
CpuImage drawScenePass(const ShaderProgram& program, GLuint terrain, GLuint sound) {
  const TestTarget target = makeTestTarget(probeSize, probeSize, GL_RGBA32F);
  glUseProgram(program.programId);
  setSampler(program, "cubeTexture", terrain);
  setSampler(program, "soundTexture", sound);
  uploadSharedUniforms(program);
  drawOverTarget(program.programId, target);
  CpuImage picture = imageFrom(probeSize, probeSize, readTargetFloats(target));
  glDeleteFramebuffers(1, &target.framebuffer);
  glDeleteTextures(1, &target.texture);
  return picture;
}

bool linked(GLuint program) {
  GLint status = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &status);
  return status == GL_TRUE;
}

class IntroScenePassTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    const std::string* text = findEmbeddedShader(altIntroFile);
    ASSERT_NE(text, nullptr);
    program_ = std::make_unique<ShaderProgram>(false, screenQuadVertexSource(), *text, "");
    terrain_ = packLikeTexture(terrainImage());
    silence_ = createSoundTexture(std::vector<float>(512, 0.0f).data());
  }
  void TearDown() override {
    glDeleteProgram(program_->programId);
    glDeleteTextures(1, &terrain_);
    glDeleteTextures(1, &silence_);
  }

  // The scene pass over a probeSize square float target: rgba per pixel, rows bottom first.
  CpuImage scenePass(const IntroInputs& in, GLuint terrain = 0, GLuint sound = 0) {
    setSharedValues(in);
    return drawScenePass(*program_, terrain ? terrain : terrain_, sound ? sound : silence_);
  }

  std::unique_ptr<ShaderProgram> program_;
  GLuint terrain_ = 0;
  GLuint silence_ = 0;
};

float maxRgbDifference(const CpuImage& a, const CpuImage& b) {
  float worst = 0.0f;
  for (size_t i = 0; i < a.rgba.size(); ++i)
    if (i % 4 != 3) worst = std::max(worst, std::fabs(a.rgba[i] - b.rgba[i]));
  return worst;
}

float maxRgb(const CpuImage& image) {
  float most = 0.0f;
  for (size_t i = 0; i < image.rgba.size(); ++i)
    if (i % 4 != 3) most = std::max(most, image.rgba[i]);
  return most;
}

}  // namespace

TEST_F(IntroScenePassTest, BuildsSilentlyFromTheEmbeddedTextAndFromItsFile) {
  EXPECT_TRUE(linked(program_->programId));
  GLuint fromFile = 0;
  EXPECT_EQ(captureStdout([&] { fromFile = ShaderProgram(true, screenQuadVertexPath, altIntroFile, "").programId; }),
            "");
  EXPECT_TRUE(linked(fromFile));
  glDeleteProgram(fromFile);
  const std::string* text = findEmbeddedShader(altIntroFile);
  EXPECT_EQ(text->rfind("#version 330 core\n", 0), 0u) << "the scene text starts with its version line";
}

TEST_F(IntroScenePassTest, IsBlackAtPartTimeZeroWhateverTheMusicAndPulses) {
  std::vector<float> loud(512, 0.6f);
  const GLuint sound = createSoundTexture(loud.data());
  for (float songTime : {0.0f, 3.7f}) {
    const CpuImage picture = scenePass({songTime, 0.0f, 0.7f, 1.0f}, 0, sound);
    EXPECT_LT(maxRgb(picture), 1e-6f) << "song time " << songTime;
  }
  glDeleteTextures(1, &sound);
  // A moment later the terrain starts to show.
  EXPECT_GT(maxRgb(scenePass({0.5f, 0.5f})), 0.02f);
}

TEST_F(IntroScenePassTest, FadeInIsCompleteAtFourSeconds) {
  // The tint swings with period 4 s of part time, so with the camera held still two part
  // times 4 s apart differ only through the fade: not at all once it is over.
  const float songTime = 6.0f;
  // (The scene's own pi, 3.1415692, leaves the tint's period a hair off 4 s.)
  EXPECT_LT(maxRgbDifference(scenePass({songTime, 4.0f}), scenePass({songTime, 8.0f})), 1e-4f);
  EXPECT_GT(maxRgbDifference(scenePass({songTime, 3.5f}), scenePass({songTime, 7.5f})), 0.01f);
}

TEST_F(IntroScenePassTest, NoDustLayerBeforeTenSecondsThenLayersAppear) {
  const float songTime = 20.0f;
  const CpuImage noDust = scenePass({songTime, 5.9f});
  // From 8 s the dust loop runs, but with one "layer" it draws none until 10 s.
  EXPECT_LT(maxRgbDifference(noDust, scenePass({songTime, 9.9f})), 1e-4f);
  EXPECT_GT(maxRgbDifference(noDust, scenePass({songTime, 13.9f})), 0.01f);
}

TEST_F(IntroScenePassTest, BeatDesaturationSpreadsTheRedChannel) {
  const IntroInputs colourful{17.0f, 17.0f, 0.0f, 0.0f};
  IntroInputs grey = colourful;
  grey.lerp3 = 1.0f;
  const CpuImage a = scenePass(colourful), b = scenePass(grey);
  float spread = 0.0f, worst = 0.0f;
  for (int y = 0; y < probeSize; ++y)
    for (int x = 0; x < probeSize; ++x) {
      const Rgba c = a.texel(x, y), g = b.texel(x, y);
      spread = std::max({spread, std::fabs(c[0] - c[1]), std::fabs(c[0] - c[2])});
      for (int k = 0; k < 3; ++k) worst = std::max(worst, std::fabs(g[k] - c[0]));
    }
  EXPECT_GT(spread, 0.02f) << "the undesaturated picture has colour";
  EXPECT_LT(worst, 1e-5f) << "lerp3 = 1 shows the red channel in all three";
}

TEST_F(IntroScenePassTest, LensFalloffBlackensBeyondItsRadiusWhichLightPulsesShrink) {
  // lightAdd 4 puts the edge of the lens at |uv| = 1.65 - 0.125 * 4 = 1.15 (uv = 2 fragment /
  // resolution - 1 times the aspect); with no pulse it lies outside the square frame.
  const CpuImage pulsed = scenePass({12.0f, 12.0f, 0.0f, 2.0f});
  const CpuImage calm = scenePass({12.0f, 12.0f, 0.0f, 0.0f});
  int outside = 0, inside = 0;
  for (int y = 0; y < probeSize; ++y)
    for (int x = 0; x < probeSize; ++x) {
      const float u = 2.0f * (x + 0.5f) / probeSize - 1.0f, v = 2.0f * (y + 0.5f) / probeSize - 1.0f;
      const float radius = std::sqrt(u * u + v * v) / 1.15f;
      const Rgba p = pulsed.texel(x, y), c = calm.texel(x, y);
      EXPECT_GT(std::max({c[0], c[1], c[2]}), 1e-3f) << x << ", " << y;
      if (radius > 1.01f) {
        ++outside;
        EXPECT_LT(std::max({p[0], p[1], p[2]}), 1e-6f) << x << ", " << y;
      } else if (radius < 0.99f) {
        ++inside;
        EXPECT_GT(std::max({p[0], p[1], p[2]}), 1e-5f) << x << ", " << y;  // dim near the edge
      }
    }
  EXPECT_GT(outside, 50);
  EXPECT_GT(inside, 600);
}

TEST_F(IntroScenePassTest, ReliefReadsTheSpectrumBinPickedByTheNoiseOnceFadedIn) {
  // A uniform rock value rho gives the noise n = rho (1/2 + 1/4 + 1/8 + 1/16) everywhere,
  // chosen here so that 256 n = 96.5: the relief reads spectrum bin 96 and no other.
  const float rho = 96.5f / 256.0f / 0.9375f;
  const GLuint flat = packLikeTexture(flatImage(4, 4, {rho, rho, rho, 1.0f}));
  std::vector<float> bin96(512, 0.0f), neighbours(512, 0.0f);
  bin96[96] = 0.05f;
  neighbours[95] = neighbours[97] = 0.05f;
  const GLuint loud96 = createSoundTexture(bin96.data()), loudBeside = createSoundTexture(neighbours.data());
  for (float partTime : {0.0f, 6.0f}) {
    SCOPED_TRACE("part time " + std::to_string(partTime));
    const IntroInputs in{6.0f, partTime};
    const CpuImage quiet = scenePass(in, flat), music = scenePass(in, flat, loud96),
                   beside = scenePass(in, flat, loudBeside);
    EXPECT_EQ(maxRgbDifference(quiet, beside), 0.0f) << "bins 95 and 97 play no part";
    float alphaChange = 0.0f;
    for (size_t i = 3; i < quiet.rgba.size(); i += 4) alphaChange = std::max(alphaChange, std::fabs(quiet.rgba[i] - music.rgba[i]));
    if (partTime == 0.0f)
      EXPECT_EQ(alphaChange, 0.0f) << "no music influence while fading in";
    else
      EXPECT_GT(alphaChange, 0.01f) << "bin 96 lifts the relief, moving the march point";
  }
  const GLuint textures[] = {flat, loud96, loudBeside};
  glDeleteTextures(3, textures);
}

namespace {

struct Vec3 {
  float x, y, z;
};

// (u, v) turned by a: (u cos a + v sin a, -u sin a + v cos a).
void turn(float& u, float& v, float a) {
  const float c = std::cos(a), s = std::sin(a);
  const float nu = u * c + v * s, nv = -u * s + v * c;
  u = nu, v = nv;
}

// The depth-of-field amount of pixel (x, y) over a flat terrain at y = floorY, with the camera
// and the 45 half steps of the march written out.
float flatTerrainFocus(int x, int y, float songTime, float floorY) {
  const float pi = 3.1415692f, f = 0.0486f, T = songTime;
  const Vec3 ro{0.12f * T, 5.0f, 4.0f * T};
  Vec3 rd{2.0f * (x + 0.5f) - probeSize, 2.0f * (y + 0.5f) - probeSize, static_cast<float>(probeSize)};
  const float len = std::sqrt(rd.x * rd.x + rd.y * rd.y + rd.z * rd.z);
  rd = {rd.x / len, rd.y / len, rd.z / len};
  turn(rd.y, rd.z, -0.65f + 0.12f * std::cos(pi * f * T));
  turn(rd.x, rd.y, f * std::sin(0.1f * T));
  turn(rd.x, rd.z, 0.8f * std::sin(pi * f * T));
  float t = std::fabs(ro.y / rd.y), qz = ro.z;
  for (int i = 0; i < 45; ++i) {
    const float qy = ro.y + rd.y * t;
    qz = ro.z + rd.z * t;
    t += 0.5f * (qy - floorY);
  }
  return std::min(0.5f * std::fabs(0.05f * (qz - ro.z) - 1.0f), 5.0f);
}

}  // namespace

TEST_F(IntroScenePassTest, AlphaIsTheDepthOfFieldAmountOfTheMarchPointOverAFlatTerrain) {
  // While fading in the relief is zero, so a uniform rock value 0.4 makes the ground the
  // plane y = -30 n = -11.25.
  const GLuint flat = packLikeTexture(flatImage(4, 4, {0.4f, 0.4f, 0.4f, 1.0f}));
  for (float songTime : {0.0f, 9.3f}) {
    const CpuImage picture = scenePass({songTime, 0.0f}, flat);
    int nearZero = 0, capped = 0;
    for (int y = 0; y < probeSize; ++y)
      for (int x = 0; x < probeSize; ++x) {
        const float want = flatTerrainFocus(x, y, songTime, -11.25f);
        const float got = picture.texel(x, y)[3];
        EXPECT_NEAR(got, want, 2e-3f * std::max(1.0f, want)) << "pixel " << x << ", " << y << " at " << songTime;
        nearZero += want < 0.1f;
        capped += want == 5.0f;
      }
    EXPECT_GT(nearZero, 0) << "some pixels look about 20 units ahead";
    EXPECT_GT(capped, 0) << "rays above the horizon run away and cap at 5";
  }
  glDeleteTextures(1, &flat);
}

TEST(IntroCaptionTable, BoundariesOfEachRow) {
  struct Row {
    float t;
    int slot;
    float alpha;
  };
  const Row rows[] = {
      {0.0f, 20, 0.0f},   {8.0f, 20, 0.0f},   {8.5f, 20, 0.5f},    {9.0f, 20, 1.0f},   {19.99f, 20, 1.0f},
      {20.0f, 20, 1.0f},  {20.75f, 20, 0.25f}, {21.0f, -1, 0.0f},  {23.99f, -1, 0.0f}, {24.0f, 21, 0.0f},
      {24.5f, 21, 0.5f},  {25.0f, 21, 1.0f},  {34.0f, 21, 1.0f},   {34.5f, 21, 0.5f},  {35.0f, 21, 0.0f},
      {37.99f, 21, 0.0f}, {38.0f, 22, 0.0f},  {38.25f, 22, 0.25f}, {39.0f, 22, 1.0f},  {48.0f, 22, 1.0f},
      {48.5f, 22, 0.5f},  {49.0f, 22, 0.0f},  {54.9f, 22, 0.0f},
  };
  for (const Row& row : rows) {
    const IntroCaption caption = introCaptionAt(row.t);
    EXPECT_EQ(caption.packSlot, row.slot) << "t = " << row.t;
    EXPECT_NEAR(caption.alpha, row.alpha, 1e-4f) << "t = " << row.t;
  }
}

namespace {

constexpr int windowWidth = 48, windowHeight = 32;

// The shared targets and pack slots the intro draws with, made once per process.
struct IntroWorld {
  GLNameList frameBuffers, renderTextures, packTextures;
};

IntroWorld& world() {
  static IntroWorld w = [] {
    IntroWorld made;
    settings.renderWidth = settings.renderHeight = probeSize;
    for (int i = 0; i < 3; ++i) {
      made.renderTextures.push_back(createRenderTexture());
      made.frameBuffers.push_back(createFramebuffer(made.renderTextures.back()));
    }
    made.renderTextures.push_back(createSoundTexture(std::vector<float>(512, 0.0f).data()));
    made.packTextures.assign(29, 0);
    made.packTextures[0] = packLikeTexture(terrainImage());
    made.packTextures[15] = packLikeTexture(flatImage(4, 4, {0, 0, 0, 1}));
    return made;
  }();
  return w;
}

void setCaptionImages(const Rgba& colour) {
  for (int slot : {20, 21, 22}) {
    if (world().packTextures[slot]) glDeleteTextures(1, &world().packTextures[slot]);
    world().packTextures[slot] = packLikeTexture(flatImage(4, 4, colour));
  }
}

// One whole intro frame at part time t (the part starts at song time 0) into a float window.
CpuImage introFrame(AmbientIntroScene& scene, float t) {
  setSharedValues({t, t});
  settings.windowWidth = windowWidth;
  settings.windowHeight = windowHeight;
  const TestTarget window = makeTestTarget(windowWidth, windowHeight, GL_RGBA32F);
  windowFramebuffer = window.framebuffer;
  scene.render(world().frameBuffers, world().renderTextures, world().packTextures);
  glFinish();
  CpuImage picture = imageFrom(windowWidth, windowHeight, readTargetFloats(window));
  windowFramebuffer = 0;
  glDeleteFramebuffers(1, &window.framebuffer);
  glDeleteTextures(1, &window.texture);
  return picture;
}

AmbientIntroScene& introScene() {
  static AmbientIntroScene scene;
  static const bool ready = (scene.init(), true);
  (void)ready;
  return scene;
}

}  // namespace

class IntroSceneTest : public GlTest {};

TEST_F(IntroSceneTest, SettingsAfterInit) {
  const SceneSettings& s = introScene().sceneSettings;
  EXPECT_FLOAT_EQ(s.bloom_threshold1, 0.47f);
  EXPECT_FLOAT_EQ(s.bloom_threshold2, 0.2f);
  EXPECT_TRUE(s.apply_bloom);
  EXPECT_FLOAT_EQ(s.dof1, 3.0f);
  EXPECT_FLOAT_EQ(s.dof2, 9.0f);
  EXPECT_FLOAT_EQ(s.dof3, 15.0f);
  EXPECT_TRUE(s.apply_dof);
  EXPECT_TRUE(s.apply_fxaa);
  EXPECT_EQ(s.sub_step, 0);
  EXPECT_EQ(s.crt_threshold, 0.0f);
  for (float v : s.miscData) EXPECT_EQ(v, 0.0f);
}

TEST_F(IntroSceneTest, AtPartTimeZeroTheWindowIsBlackButForTheBorderLinesAndTheHueIsPublished) {
  AmbientIntroScene& scene = introScene();
  setCaptionImages({1, 1, 1, 1});
  sharedUniforms.hsv = 0.0f;
  const CpuImage window = introFrame(scene, 0.0f);
  EXPECT_FLOAT_EQ(sharedUniforms.hsv, 0.864f) << "written during the intro's frame";
  const float h = windowHeight / 10.0f;
  for (int y = 0; y < windowHeight; ++y) {
    const bool borderLine = (y + 0.5f >= h && y + 0.5f <= h + 1.5f) ||
                            (y + 0.5f >= windowHeight - h && y + 0.5f <= windowHeight - h + 1.5f);
    for (int x = 0; x < windowWidth; ++x) {
      const Rgba p = window.texel(x, y);
      if (borderLine)
        EXPECT_GT(p[0], 0.5f) << x << ", " << y;
      else
        EXPECT_EQ(std::max({p[0], p[1], p[2]}), 0.0f) << x << ", " << y;
    }
  }
}

TEST_F(IntroSceneTest, NoCaptionShowsBetween21And24WhateverSitsOnTheCaptionUnit) {
  AmbientIntroScene& scene = introScene();
  auto framesWith = [&](const Rgba& caption, float t) {
    setCaptionImages(caption);
    return introFrame(scene, t);
  };
  for (float t : {21.0f, 22.5f, 23.9f}) {
    SCOPED_TRACE("part time " + std::to_string(t));
    introFrame(scene, 20.5f);  // leaves the first caption's texture on the sampler
    const CpuImage white = framesWith({1, 1, 1, 1}, t), black = framesWith({0, 0, 0, 1}, t);
    EXPECT_EQ(maxRgbDifference(white, black), 0.0f);
  }
  const CpuImage white = framesWith({1, 1, 1, 1}, 20.5f), black = framesWith({0, 0, 0, 1}, 20.5f);
  EXPECT_GT(maxRgbDifference(white, black), 0.3f) << "half of the first caption shows at 20.5 s";
}

TEST_F(IntroSceneTest, FramesAFewTenthsOfASecondApartDiffer) {
  AmbientIntroScene& scene = introScene();
  setCaptionImages({0, 0, 0, 0});
  for (float t : {6.0f, 30.0f}) {
    const CpuImage a = introFrame(scene, t), b = introFrame(scene, t + 0.3f);
    EXPECT_GT(maxRgbDifference(a, b), 0.02f) << "part time " << t;
  }
}

namespace {

const char* flatColourScene =
    "#version 330 core\nout vec4 fragColor;\nvoid main() { fragColor = vec4(0.25, 0.5, 0.75, 1.0); }\n";

// A copy of ./shaders/ with the intro's scene file replaced by `sceneText`.
void writeShaderTree(const TempDir& dir, const std::string& sceneText) {
  std::filesystem::copy("shaders", dir.path() / "shaders", std::filesystem::copy_options::recursive);
  dir.write("shaders/scenes/altintro.glsl", sceneText);
}

}  // namespace

TEST_F(IntroSceneTest, ReloadRebuildsSceneDepthOfFieldSpectrumBoxAndCompositeFromDisk) {
  AmbientIntroScene scene;
  scene.init();
  const GLuint before[] = {scene.scene->programId,   scene.depthOfField->programId, scene.spectrumBox->programId,
                           scene.composite->programId, scene.radialBlur->programId,   scene.fxaa->programId,
                           scene.bloom->programId,     scene.glitch->programId,       scene.bokeh->programId};
  EXPECT_EQ(captureStdout([&] { scene.reload(); }), "HOTRELOAD INVOKED!\nRELOADED!\n");
  const GLuint after[] = {scene.scene->programId,   scene.depthOfField->programId, scene.spectrumBox->programId,
                          scene.composite->programId, scene.radialBlur->programId,   scene.fxaa->programId,
                          scene.bloom->programId,     scene.glitch->programId,       scene.bokeh->programId};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NE(after[i], before[i]) << "program " << i << " is rebuilt";
    EXPECT_TRUE(linked(after[i])) << "program " << i;
  }
  for (int i = 4; i < 9; ++i) EXPECT_EQ(after[i], before[i]) << "program " << i << " is kept";

  // An edited scene file on disk is what the reloaded scene pass draws.
  {
    TempDir dir;
    writeShaderTree(dir, flatColourScene);
    ScopedWorkingDir cwd(dir.path());
    EXPECT_EQ(captureStdout([&] { scene.reload(); }), "HOTRELOAD INVOKED!\nRELOADED!\n");
  }
  setSharedValues({12.0f, 12.0f});
  const CpuImage edited = drawScenePass(*scene.scene, world().packTextures[0], world().renderTextures[3]);
  EXPECT_EQ(edited.texel(3, 5), (Rgba{0.25f, 0.5f, 0.75f, 1.0f}));

  // A broken file prints its compile report and the frame still finishes.
  {
    TempDir dir;
    writeShaderTree(dir, "#version 330 core\nvoid main() { this does not compile }\n");
    ScopedWorkingDir cwd(dir.path());
    const std::string report = captureStdout([&] { scene.reload(); });
    EXPECT_NE(report.find("ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT\nFile: ./shaders/scenes/altintro.glsl\n"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.rfind("RELOADED!\n"), report.size() - 10);
  }
  const CpuImage window = introFrame(scene, 12.0f);
  EXPECT_GT(window.texel(windowWidth / 2, 3)[0], 0.5f) << "the composite still drew its border line";
  while (glGetError() != GL_NO_ERROR) {
  }  // using the unlinked program is refused by GL, as in the demo
}
