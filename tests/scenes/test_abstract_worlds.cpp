// The abstract worlds part: the assembled scene text (layout, same text from the embedded
// copies and from disk, compiles on the core-profile context), picture probes of its scene
// pass (the sky only between 8 s and 28 s, the pictures move), the cube-stack grid, the fade
// from black over the first second, and hot reload from a copy of ./shaders/.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "render/display_settings.h"
#include "render/embedded_shaders.h"
#include "render/render_targets.h"
#include "render/screen_quad.h"
#include "render/shader_program.h"
#include "render/shared_uniforms.h"
#include "render/window_target.h"
#include "scenes/abstract_worlds_screen.h"
#include "tests/support/gl_context.h"
#include "tests/support/temp_files.h"
#include "timeline/fades.h"
#include "tests/support/test_paths.h"

namespace {

constexpr int sceneSize = 24;
constexpr float partStart = 54.906f;

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void append(std::vector<std::string>& to, const std::string& path) {
  const std::string* text = findEmbeddedShader(path);
  ASSERT_NE(text, nullptr) << path;
  for (const std::string& line : linesOf(*text))
    if (to.empty() || line != "#version 140") to.push_back(line);
}

// The shared values of one frame at part time t of this part, as the frame step leaves them.
void setFrame(const AbstractWorldsScreen& screen, float partTime) {
  sharedUniforms = SharedUniforms{};
  fades = FadeRecords{};
  sharedUniforms.partStart = partStart;
  sharedUniforms.songPosition = partStart + partTime;
  sharedUniforms.miscData = screen.sceneSettings.miscData;
  settings.renderWidth = settings.renderHeight = sceneSize;
  settings.windowWidth = 1280;
  settings.windowHeight = 720;
}

// The scene pass alone at part time t into a float target (rgb, alpha = march effort).
std::vector<float> scenePass(const ShaderProgram& program, float partTime, const std::array<float, 13>& miscData,
                             const char* dumpName = nullptr, int size = sceneSize) {
  sharedUniforms.songPosition = partStart + partTime;
  sharedUniforms.miscData = miscData;
  settings.renderWidth = settings.renderHeight = size;
  const TestTarget target = makeTestTarget(size, size, GL_RGBA32F);
  glUseProgram(program.programId);
  uploadSharedUniforms(program);
  drawOverTarget(program.programId, target);
  std::vector<float> pixels = readTargetFloats(target);
  if (dumpName && std::getenv("TARVIK_TEST_PNG_DIR"))
    writeTargetPng(target, std::string(std::getenv("TARVIK_TEST_PNG_DIR")) + "/" + dumpName + ".png");
  glDeleteFramebuffers(1, &target.framebuffer);
  glDeleteTextures(1, &target.texture);
  return pixels;
}

}  // namespace

TEST(AbstractWorldsText, AssembledLayoutAndTheSameTextFromDisk) {
  std::vector<std::string> expected;
  append(expected, "./shaders/lib/basic.glsl");
  expected.push_back("#define GAMMA 1.160000");
  append(expected, "./shaders/lib/gamma.glsl");
  append(expected, "./shaders/lib/materials.glsl");
  append(expected, "./shaders/lib/raymarchingtools.glsl");
  for (const char* line : {"#define FOV 0.750000", "int iterationsCount = 0;", "const int rayMarchIterations = 128;",
                           "float stepSize = 0.400000;", "const float clipNear = 0.010000;",
                           "const float clipFar = 30.000000;"})
    expected.push_back(line);
  append(expected, "./shaders/lib/raymarching.glsl");
  expected.push_back("const int LIGHTS = 2;");
  expected.push_back("const bool USE_AO = true;");
  append(expected, "./shaders/lib/light.glsl");
  for (const char* name : {"axis_rotation", "simplex_noise", "cheap_fog", "mist", "voronoi", "texture_noise"})
    append(expected, std::string("./shaders/lib/") + name + ".glsl");
  append(expected, abstractWorldsSceneFile);

  const std::string embedded = abstractWorldsSceneText(ShaderFiles::Embedded);
  EXPECT_EQ(linesOf(embedded), expected);
  EXPECT_EQ(expected.front(), "#version 140");
  // The tests run in the source tree, whose files are what was embedded.
  EXPECT_EQ(abstractWorldsSceneText(ShaderFiles::Disk), embedded);
  EXPECT_EQ(embedded.find("#include"), std::string::npos);
}

TEST(AbstractWorldsSettings, BlackOverrideFallsOverTheFirstSecond) {
  EXPECT_FLOAT_EQ(abstractWorldsBlackFactor(0.0f), 1.0f);
  EXPECT_FLOAT_EQ(abstractWorldsBlackFactor(0.25f), 0.75f);
  EXPECT_NEAR(abstractWorldsBlackFactor(0.999f), 0.001f, 1e-6f);
  EXPECT_FLOAT_EQ(abstractWorldsBlackFactor(1.0f), 0.0f);
  EXPECT_FLOAT_EQ(abstractWorldsBlackFactor(30.0f), 0.0f);
}

class AbstractWorldsGl : public GlTest {
 protected:
  static AbstractWorldsScreen& screen() {
    static AbstractWorldsScreen s;
    static const bool ready = (captureStdout([] { s.init(); }), true);
    (void)ready;
    return s;
  }
};

TEST_F(AbstractWorldsGl, SceneProgramBuildsSilentlyOnTheCoreContext) {
  GLint profile = 0;
  glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
  ASSERT_TRUE(profile & GL_CONTEXT_CORE_PROFILE_BIT) << "the test context is not a core profile";
  std::string report = captureStdout([] {
    AbstractWorldsScreen fresh;
    fresh.init();
  });
  EXPECT_EQ(report, "");
  GLint linked = 0;
  glGetProgramiv(screen().scene->programId, GL_LINK_STATUS, &linked);
  EXPECT_EQ(linked, GL_TRUE);
}

namespace {

using Pixels = std::vector<float>;

int differingPixels(const Pixels& a, const Pixels& b, float tolerance) {
  int count = 0;
  for (size_t i = 0; i + 3 < a.size(); i += 4)
    if (std::fabs(a[i] - b[i]) > tolerance || std::fabs(a[i + 1] - b[i + 1]) > tolerance ||
        std::fabs(a[i + 2] - b[i + 2]) > tolerance)
      ++count;
  return count;
}

// Pixels of the top quarter (rows far above the horizon) whose colour leans like the fog
// colour (0.6, 0.3, 0.2): red over green over blue.
int fogLikeTopPixels(const Pixels& p) {
  int count = 0;
  for (int y = sceneSize * 3 / 4; y < sceneSize; ++y)
    for (int x = 0; x < sceneSize; ++x) {
      const size_t at = (static_cast<size_t>(y) * sceneSize + x) * 4;
      if (p[at] > p[at + 1] && p[at + 1] > p[at + 2]) ++count;
    }
  return count;
}

constexpr int topPixels = sceneSize * sceneSize / 4;

std::array<float, 13> withSky(std::array<float, 13> misc, bool on) {
  misc[11] = on ? 1.0f : 0.0f;
  return misc;
}

// The assembled scene with its main renamed and a probe main appended that writes
// probeBody's vec4 (the scene's own functions and globals are all available).
GLuint probeProgram(const std::string& probeBody) {
  std::string text = abstractWorldsSceneText(ShaderFiles::Embedded);
  const size_t at = text.find("void main()");
  EXPECT_NE(at, std::string::npos);
  text.replace(at, 11, "void sceneMain()");
  text += "\nvoid main()\n{\n" + probeBody + "\n}\n";
  return buildTestProgram(text);
}

std::array<float, 4> probeAt(GLuint program, float partTime) {
  const TestTarget target = makeTestTarget(1, 1, GL_RGBA32F);
  glUseProgram(program);
  glUniform1f(glGetUniformLocation(program, "partTime"), partTime);
  drawOverTarget(program, target);
  const std::vector<float> pixels = readTargetFloats(target);
  glDeleteFramebuffers(1, &target.framebuffer);
  glDeleteTextures(1, &target.texture);
  return {pixels[0], pixels[1], pixels[2], pixels[3]};
}

}  // namespace

TEST_F(AbstractWorldsGl, SkyAndMoonOnlyBetweenEightAndTwentyEightSeconds) {
  AbstractWorldsScreen& s = screen();
  setFrame(s, 0.0f);
  const auto misc = s.sceneSettings.miscData;
  ASSERT_EQ(misc[11], 1.0f);
  // Outside the sky's span the switch changes nothing: missed rays keep the fog colour.
  for (float t : {7.9f, 8.0f, 28.0f, 28.1f, 40.0f}) {
    const Pixels on = scenePass(*s.scene, t, withSky(misc, true));
    const Pixels off = scenePass(*s.scene, t, withSky(misc, false));
    EXPECT_EQ(differingPixels(on, off, 0.0f), 0) << "t = " << t;
    // At 40 s the cube columns reach into the top rows; before that only missed rays are there.
    if (t < 29.0f) {
      EXPECT_GT(fogLikeTopPixels(on), topPixels * 3 / 4) << "t = " << t;
    }
  }
  // Inside it the rays that miss show the cloud sky: bluer than the fog, most of the top rows.
  // Just after 8 s the camera is still high and only the topmost rays miss.
  const Pixels early = scenePass(*s.scene, 8.1f, withSky(misc, true));
  EXPECT_GT(differingPixels(early, scenePass(*s.scene, 8.1f, withSky(misc, false)), 0.02f), 0);
  for (float t : {15.1f, 27.9f}) {
    const Pixels on = scenePass(*s.scene, t, withSky(misc, true));
    const Pixels off = scenePass(*s.scene, t, withSky(misc, false));
    EXPECT_GT(differingPixels(on, off, 0.02f), topPixels / 2) << "t = " << t;
    EXPECT_LT(fogLikeTopPixels(on), topPixels / 4) << "t = " << t;
    EXPECT_GT(fogLikeTopPixels(off), topPixels * 3 / 4) << "t = " << t;
  }
}

TEST_F(AbstractWorldsGl, PicturesMoveWithinAFewTenthsOfASecond) {
  AbstractWorldsScreen& s = screen();
  setFrame(s, 0.0f);
  for (float t : {5.0f, 15.1f, 35.1f}) {
    const Pixels a = scenePass(*s.scene, t, s.sceneSettings.miscData);
    const Pixels b = scenePass(*s.scene, t + 0.3f, s.sceneSettings.miscData);
    EXPECT_GT(differingPixels(a, b, 0.01f), sceneSize * sceneSize / 10) << "t = " << t;
  }
}

TEST_F(AbstractWorldsGl, CubeStackGridGrowsFromOneToThreeCellsPerAxis) {
  // x: the last cell index; y, z: the stack distance at the centre of a cube in cell (1, 1) and
  // in cell (2, 2), one cube height above the cut-away band, scrolled with the part time.
  const GLuint probe = probeProgram(
      "    float lift = 0.5 * (partTime - 28.0) + 2.0;\n"
      "    fragColor = vec4(cubeStackLastCell(partTime), cubeStacks(vec3(3.0, lift, 3.0), partTime),\n"
      "                     cubeStacks(vec3(6.0, lift, 6.0), partTime), 1.0);");
  struct Case {
    float t, lastCell;
    bool cell1, cell2;
  };
  for (const Case& c : {Case{28.0f, 0, false, false}, Case{32.553f, 0, false, false}, Case{32.554f, 1, true, false},
                        Case{34.282f, 1, true, false}, Case{34.283f, 2, true, true}, Case{54.0f, 2, true, true}}) {
    const auto v = probeAt(probe, c.t);
    EXPECT_EQ(v[0], c.lastCell) << "t = " << c.t;
    // Inside a cube of half size 0.39 x 0.385 x 0.39 at its centre: -0.385; a cell that does not
    // exist leaves the nearest column three units away.
    for (int cell : {1, 2}) {
      if (cell == 1 ? c.cell1 : c.cell2) {
        EXPECT_NEAR(v[cell], -0.385f, 1e-3f) << "cell " << cell << ", t = " << c.t;
      } else {
        EXPECT_GT(v[cell], 2.0f) << "cell " << cell << ", t = " << c.t;
      }
    }
  }
  glDeleteProgram(probe);
}

TEST_F(AbstractWorldsGl, PillarTermIsNeverSolid) {
  // The smallest value of the pillar term over a grid through all seven cells and heights.
  const GLuint probe = probeProgram(
      "    float lowest = 1e9;\n"
      "    for (float x = -1.0; x <= 26.0; x += 0.1)\n"
      "        for (float z = -1.0; z <= 26.0; z += 0.5)\n"
      "            for (float y = -6.0; y <= 6.0; y += 1.0)\n"
      "                lowest = min(lowest, pillars(vec3(x, y, z), partTime));\n"
      "    fragColor = vec4(lowest, pillars(vec3(0.23, 0.0, 0.0), partTime), 0.0, 1.0);");
  for (float t : {31.0f, 40.0f, 54.0f}) {
    const auto v = probeAt(probe, t);
    EXPECT_GT(v[0], 0.0f) << "t = " << t;
    // Between the two walls of a shell the term is small: it still shortens the march steps.
    EXPECT_LT(v[1], 0.05f) << "t = " << t;
  }
  glDeleteProgram(probe);
}

namespace {

// The shared targets and pack slots a whole frame draws with, made once per process.
struct FrameWorld {
  GLNameList frameBuffers, renderTextures, packTextures;
};

FrameWorld& frameWorld() {
  static FrameWorld w = [] {
    FrameWorld made;
    settings.renderWidth = settings.renderHeight = sceneSize;
    for (int i = 0; i < 3; ++i) {
      made.renderTextures.push_back(createRenderTexture());
      made.frameBuffers.push_back(createFramebuffer(made.renderTextures.back()));
    }
    std::vector<float> spectrum(512, 0.05f);
    made.renderTextures.push_back(createSoundTexture(spectrum.data()));
    made.packTextures.assign(29, 0);
    // A white overlay: the composite adds it as light, so only the black override can darken it.
    std::vector<uint8_t> white(4 * 4 * 4, 255);
    made.packTextures[16] = uploadTestTexture(4, 4, white.data());
    return made;
  }();
  return w;
}

constexpr int windowWidth = 32;
constexpr int windowHeight = 18;

// One whole frame at part time t into a float window target.
Pixels drawFrame(AbstractWorldsScreen& scene, float partTime) {
  setFrame(scene, partTime);
  FrameWorld& w = frameWorld();
  settings.windowWidth = windowWidth;
  settings.windowHeight = windowHeight;
  const TestTarget window = makeTestTarget(windowWidth, windowHeight, GL_RGBA32F);
  windowFramebuffer = window.framebuffer;
  scene.render(w.frameBuffers, w.renderTextures, w.packTextures);
  glFinish();
  Pixels pixels = readTargetFloats(window);
  windowFramebuffer = 0;
  glDeleteFramebuffers(1, &window.framebuffer);
  glDeleteTextures(1, &window.texture);
  return pixels;
}

// Rows 3 to 14 of the 18-row window: inside the letterbox and clear of the border lines.
float brightestPictureValue(const Pixels& p) {
  float brightest = 0.0f;
  for (int y = 3; y < windowHeight - 3; ++y)
    for (int x = 0; x < windowWidth; ++x)
      for (int c = 0; c < 3; ++c) brightest = std::max(brightest, p[(static_cast<size_t>(y) * windowWidth + x) * 4 + c]);
  return brightest;
}

}  // namespace

TEST_F(AbstractWorldsGl, FrameFadesInFromBlackOverTheFirstSecond) {
  AbstractWorldsScreen& s = screen();
  drawFrame(s, 0.25f);
  EXPECT_FLOAT_EQ(sharedUniforms.overridden_black_fac, 0.75f);
  // At part time 0 the override is 1: the picture (under a white overlay) is black.
  EXPECT_EQ(brightestPictureValue(drawFrame(s, 0.0f)), 0.0f);
  EXPECT_FLOAT_EQ(sharedUniforms.overridden_black_fac, 1.0f);
  // The white overlay alone lifts every pixel to 1 once the override is gone; halfway through
  // the second the override halves it.
  const Pixels half = drawFrame(s, 0.5f);
  EXPECT_NEAR(brightestPictureValue(half), 0.5f, 1e-3f);
  EXPECT_FLOAT_EQ(brightestPictureValue(drawFrame(s, 1.0f)), 1.0f);
  EXPECT_EQ(sharedUniforms.overridden_black_fac, 0.0f);
  drawFrame(s, 20.0f);
  EXPECT_EQ(sharedUniforms.overridden_black_fac, 0.0f);
}

namespace {

// A copy of the source tree's ./shaders/ in a scratch folder that becomes the working
// directory, so reload reads files the test may change.
struct ShaderTreeCopy {
  TempDir dir;
  std::filesystem::path root = dir.path();
  ShaderTreeCopy() {
    std::filesystem::copy(std::filesystem::path(testSourceDir()) / "shaders", root / "shaders",
                          std::filesystem::copy_options::recursive);
  }
  void replaceIn(const std::string& relative, const std::string& from, const std::string& to) const {
    const std::filesystem::path path = root / relative;
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    const size_t at = s.find(from);
    ASSERT_NE(at, std::string::npos) << relative << " lacks " << from;
    s.replace(at, from.size(), to);
    std::ofstream(path, std::ios::trunc) << s;
  }
};

}  // namespace

TEST_F(AbstractWorldsGl, ReloadRebuildsFromTheFilesOnDisk) {
  ShaderTreeCopy tree;
  ScopedWorkingDir inside(tree.root);
  AbstractWorldsScreen s;
  captureStdout([&] { s.init(); });
  setFrame(s, 0.0f);
  const Pixels before = scenePass(*s.scene, 15.1f, s.sceneSettings.miscData);

  EXPECT_EQ(captureStdout([&] { s.reload(); }), "HOTRELOAD INVOKED!\nRELOADED!\n");
  EXPECT_EQ(differingPixels(scenePass(*s.scene, 15.1f, s.sceneSettings.miscData), before, 0.0f), 0)
      << "unchanged files give the embedded text";

  // A snippet edited on disk (no fog at all any more) and a composite that paints all red.
  tree.replaceIn("shaders/lib/cheap_fog.glsl", "return clamp(7.25", "return 1.0 + 0.0 * clamp(7.25");
  tree.replaceIn("shaders/postprocessors/amigaborders_part.glsl", "fragColor = vec4(clamp(c, 0.0, 1.0), 1.0);",
                 "fragColor = vec4(1.0, 0.0, 0.0, 1.0);");
  EXPECT_EQ(captureStdout([&] { s.reload(); }), "HOTRELOAD INVOKED!\nRELOADED!\n");
  EXPECT_GT(differingPixels(scenePass(*s.scene, 15.1f, s.sceneSettings.miscData), before, 0.02f), sceneSize * 2);
  const Pixels red = drawFrame(s, 15.1f);
  EXPECT_EQ(red[0], 1.0f);
  EXPECT_EQ(red[1], 0.0f);
}

TEST_F(AbstractWorldsGl, BrokenSnippetIsReportedAndDrawingCarriesOn) {
  ShaderTreeCopy tree;
  ScopedWorkingDir inside(tree.root);
  AbstractWorldsScreen s;
  captureStdout([&] { s.init(); });
  tree.replaceIn("shaders/lib/mist.glsl", "float trigNoise(", "flot trigNoise(");
  const std::string report = captureStdout([&] { s.reload(); });
  EXPECT_EQ(report.rfind("HOTRELOAD INVOKED!\n", 0), 0u) << report.substr(0, 200);
  EXPECT_NE(report.find("ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT\nFile: #version 140\n"), std::string::npos)
      << "the File: line carries the whole assembled text";
  EXPECT_NE(report.find("flot trigNoise("), std::string::npos);
  EXPECT_TRUE(report.size() >= 10 && report.compare(report.size() - 10, 10, "RELOADED!\n") == 0);

  // The frame is still drawn to its end: the composite's grey border lines are there.
  const Pixels frame = drawFrame(s, 15.1f);
  const size_t borderRow = static_cast<size_t>(2) * windowWidth * 4;  // row H = 1.8 .. 3.3 -> row 2
  EXPECT_GT(frame[borderRow], 0.6f);
  // Using the unlinked scene program is an invalid operation GL records; nothing more.
  while (glGetError() != GL_NO_ERROR) {
  }
}
