// What every scene shares: each embedded program builds silently from its embedded text and
// from disk and passes the reference compiler; each part's frame shows the pack images of its
// slots, and a hot reload from the shipped files changes no frame; every ray-marched scene pass is lit, finite and moving; a
// frame's pass marks pair up in the order of its chain; the looped normal of the marching
// library is the written-out one, bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "scenes/composite_files.h"
#include "render/embedded_shaders.h"
#include "render/pass_timing_hook.h"
#include "render/post_pass_files.h"
#include "render/screen_quad.h"
#include "render/shader_build_hooks.h"
#include "render/shader_platform.h"
#include "render/shader_program.h"
#include "scenes/abstract_worlds_screen.h"
#include "scenes/ambient_intro_scene.h"
#include "scenes/end_scene.h"
#include "scenes/explode_greets_scene.h"
#include "scenes/greets_scene.h"
#include "scenes/logo_scene.h"
#include "scenes/menger_scene.h"
#include "scenes/raymarcher_source.h"
#include "scenes/scene_set.h"
#include "scenes/scene_shader_files.h"
#include "scenes/tentacle_scene.h"
#include "studio/program_rebuild.h"
#include "tests/support/pass_runner.h"
#include "tests/support/process_runner.h"
#include "tests/support/scene_fixture.h"
#include "tests/support/temp_files.h"

namespace {

bool linked(GLuint program) {
  GLint status = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &status);
  return status == GL_TRUE;
}

// One program: its fragment file, its vertex file, and for the assembled ray-marchers the
// assembly that turns the files into the fragment text.
struct ProgramFiles {
  std::string fragment;
  std::string vertex = screenQuadVertexPath;
  RaymarcherText assembled = nullptr;
};

std::vector<ProgramFiles> everyProgram() {
  std::vector<ProgramFiles> rows;
  for (const PostPassFile& pass : postPassFiles) rows.push_back({pass.path});
  for (const char* path : {amigaBorderIntroFile, amigaBordersPartFile, amigaBordersFile, amigaBordersOuttroFile,
                           amigaBordersEndFile, logoOverlayFile, altIntroFile, metaSceneFile, tentacleFocusFile,
                           tentacleFocusRowsFile, logoFadeFile, channelQuadsPassPath, qdofWrittenOutPassPath})
    rows.push_back({path});
  rows.push_back({"./shaders/scenes/tiles_frag.glsl", "./shaders/scenes/tiles_vtx.glsl"});
  rows.push_back({"./shaders/scenes/tentacle_particle.glsl", "./shaders/scenes/tentacle_particle_vtx.glsl"});
  for (const char* sprite : {"./shaders/scenes/tentacle_credits.glsl", "./shaders/scenes/tentacle_logo.glsl"})
    rows.push_back({sprite, "./shaders/scenes/tentacle_sprite_vtx.glsl"});
  rows.push_back({"./shaders/studio/overlay_text.glsl", "./shaders/studio/overlay_text_vtx.glsl"});
  rows.push_back({abstractWorldsSceneFile, screenQuadVertexPath, abstractWorldsSceneText});
  rows.push_back({"./shaders/scenes/tentacles.glsl", screenQuadVertexPath, tentacleSceneSource});
  rows.push_back({greetsSceneFile, screenQuadVertexPath, greetsRaymarcherSource});
  return rows;
}

// Files that only take part in other texts: the library and whatever an include line names.
std::set<std::string> partsOfOtherTexts() {
  std::set<std::string> parts;
  for (const auto& [path, text] : embeddedShaders()) {
    if (path.rfind("./shaders/lib/", 0) == 0) parts.insert(path);
    for (size_t at = text.find("#include \""); at != std::string::npos; at = text.find("#include \"", at + 1))
      parts.insert(text.substr(at + 10, text.find('"', at + 10) - at - 10));
  }
  return parts;
}

GLuint buildSilently(bool fromDisk, const ProgramFiles& files) {
  const ShaderFiles source = fromDisk ? ShaderFiles::Disk : ShaderFiles::Embedded;
  GLuint id = 0;
  const std::string printed = captureStdout([&] {
    if (files.assembled)
      id = ShaderProgram(false, fromDisk ? files.vertex : screenQuadVertexSource(), files.assembled(source), "").programId;
    else if (fromDisk)
      id = ShaderProgram(true, files.vertex, files.fragment, "").programId;
    else
      id = ShaderProgram(false, *findEmbeddedShader(files.vertex), *findEmbeddedShader(files.fragment), "").programId;
  });
  EXPECT_EQ(printed, "") << (fromDisk ? "from disk" : "embedded");
  EXPECT_TRUE(linked(id)) << (fromDisk ? "from disk" : "embedded");
  return id;
}

}  // namespace

class ScenePrograms : public SceneTest {};

TEST_F(ScenePrograms, EveryEmbeddedShaderBuildsSilentlyFromItsEmbeddedTextAndFromDisk) {
  std::set<std::string> listed = partsOfOtherTexts();
  for (const ProgramFiles& files : everyProgram()) {
    SCOPED_TRACE(files.fragment);
    listed.insert({files.fragment, files.vertex});
    ASSERT_NE(findEmbeddedShader(files.fragment), nullptr);
    // The tests run in the source tree, whose files are what was embedded.
    EXPECT_EQ(*findEmbeddedShader(files.fragment), loadShaderFile(ShaderFiles::Disk, files.fragment));
    const GLuint built[] = {buildSilently(false, files), buildSilently(true, files)};
    glDeleteProgram(built[0]);
    glDeleteProgram(built[1]);
  }
  for (const auto& entry : embeddedShaders()) EXPECT_EQ(listed.count(entry.first), 1u) << entry.first << " is never built";
}

// Khronos' reference compiler on every stage text the scenes hand to GL, for the version it
// declares (-d: desktop GLSL where none is declared), and on its web flavour as GLSL ES 3.00:
// what only a lenient driver takes fails here. The embedded texts stand for the disk files,
// which the tests' tree embedded. The web header keeps the text's line numbers.
TEST_F(ScenePrograms, EveryProgramTheScenesBuildPassesTheReferenceCompiler) {
  if (shellOutput("command -v glslangValidator").empty()) GTEST_SKIP() << "glslangValidator is not installed";
  const TempDir dir;
  std::vector<std::pair<std::string, std::string>> stages;  // program name with stage, stage file
  shaderBuildHooks.programCreated = [&](ShaderProgram& program, bool isFile, const std::string& vertex,
                                        const std::string& fragment, const std::string& geometry) {
    GLuint shaders[3] = {};
    GLsizei count = 0;
    glGetAttachedShaders(program.programId, 3, &count, shaders);
    for (GLsizei k = 0; k < count; ++k) {
      GLint type = 0, length = 0;
      glGetShaderiv(shaders[k], GL_SHADER_TYPE, &type);
      glGetShaderiv(shaders[k], GL_SHADER_SOURCE_LENGTH, &length);
      std::string text(static_cast<size_t>(length), '\0');
      glGetShaderSource(shaders[k], length, &length, text.data());
      const std::string stage = type == GL_VERTEX_SHADER ? ".vert" : ".frag";
      const std::string name = describeProgramSource(isFile, vertex, fragment, geometry).name() + stage;
      text.resize(static_cast<size_t>(length));
      stages.emplace_back(name, dir.write(std::to_string(stages.size()) + stage, text));
      const std::string web = stageTextFor(ShaderPlatform::Web, text);
      stages.emplace_back(name + " (web)", dir.write(std::to_string(stages.size()) + stage, web));
    }
  };
  captureStdout(loadScenes);
  shaderBuildHooks.programCreated = nullptr;
  EXPECT_GT(stages.size(), 80u) << "every part's programs, in both flavours";
  for (const auto& [name, file] : stages)
    EXPECT_EQ(shellOutput("glslangValidator -d " + file + " | grep -m1 ERROR"), "") << name;
  const std::string broken = "// a comment first\n#version 330 core\nout vec4 c;\nvoid main() { c = 1; }\n";
  EXPECT_EQ(shellOutput("glslangValidator " + dir.write("web.frag", stageTextFor(ShaderPlatform::Web, broken)) +
                        " | grep -m1 -o ' 0:[0-9]*:'"),
            " 0:4:\n");
}

namespace {

struct PictureStats {
  float brightest = 0.0f;
  int litPixels = 0;  // some channel above 0.01
  bool finite = true;
};

PictureStats statsOf(const CpuImage& picture) {
  PictureStats stats;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const Rgba p = picture.texel(x, y);
      for (float v : p) stats.finite = stats.finite && std::isfinite(v);
      const float most = std::max({p[0], p[1], p[2]});
      stats.brightest = std::max(stats.brightest, most);
      stats.litPixels += most > 0.01f;
    }
  return stats;
}

}  // namespace

namespace {

// One frame per part that shows its picture, with the pack slots it samples that the frame
// shows: the intro with its first caption, the tentacles' swarm with a credits image, the
// greeting image before it explodes (so that no tile moves between frames), the cubes' window
// already closing, the end's logo unrolled.
struct PartFrame {
  int part;
  float t;
  std::vector<size_t> slots;
};
const PartFrame partFrames[] = {{0, 10.0f, {0, 15, 20}}, {1, 15.1f, {16}},        {2, 16.0f, {16, 23}},
                                {3, 3.0f, {12, 28}},     {4, 1.0f, {28}},         {5, 5.0f, {17, 28}},
                                {6, 29.53f, {18, 16}},   {7, 5.0f, {27}}};

// The part's frame at t as it repeats: a first frame hands the tentacles' sub-step to their
// shaders, which receive it a frame late.
CpuImage settledFrame(const PartFrame& f) {
  drawFrame(demoScene(f.part), f.t, 16, 16);
  return drawFrame(demoScene(f.part), f.t, 16, 16);
}

class PartFrames : public ScenePrograms {
 protected:
  void SetUp() override {
    ScenePrograms::SetUp();
    spawned_ = tentacles().particles.particles;
    tentacles().particles.particles.clear();  // they move on every frame
  }
  void TearDown() override { tentacles().particles.particles = spawned_; }
  static TentacleScene& tentacles() { return demoScene<TentacleScene>(2); }

 private:
  std::vector<Particle> spawned_;
};

}  // namespace

TEST_F(PartFrames, EachShowsThePackImagesOfItsSlots) {
  for (const PartFrame& f : partFrames)
    for (size_t slot : f.slots) {
      SCOPED_TRACE("part " + std::to_string(f.part) + ", slot " + std::to_string(slot));
      const CpuImage white = [&] {
        const FlatPackSlots flat({slot}, 1.0f);
        return settledFrame(f);
      }();
      const FlatPackSlots flat({slot}, 0.0f);
      EXPECT_GT(maxRgbDifference(white.rgba, settledFrame(f)), 0.05f);
    }
}

TEST_F(PartFrames, AReloadFromTheShippedFilesLeavesEachAsItWas) {
  for (const PartFrame& f : partFrames) {
    SCOPED_TRACE("part " + std::to_string(f.part));
    const CpuImage before = settledFrame(f);
    EXPECT_GT(statsOf(before).litPixels, 16) << "a frame with something to lose";
    const std::string printed = captureStdout([&] { demoScene(f.part).reload(); });
    EXPECT_EQ(printed, f.part == 4 ? "" : "HOTRELOAD INVOKED!\nRELOADED!\n");
    EXPECT_EQ(drawFrame(demoScene(f.part), f.t, 16, 16).rgba, before.rgba);
  }
}

TEST_F(ScenePrograms, EveryRayMarchedScenePassIsLitFiniteAndMovesWithinAThirdOfASecond) {
  // Part times inside each phase of the five ray-marched parts.
  const struct {
    int part;
    float t;
  } frames[] = {{0, 6.0f},  {0, 30.0f}, {1, 5.0f},  {1, 20.0f}, {1, 35.0f}, {2, 5.0f},
                {2, 20.0f}, {2, 35.0f}, {3, 5.0f},  {3, 20.0f}, {3, 30.0f}, {6, 5.0f}, {6, 25.0f}};
  const int pixels = sceneRenderSize * sceneRenderSize;
  for (const auto& frame : frames) {
    SCOPED_TRACE("part " + std::to_string(frame.part) + " at " + std::to_string(frame.t) + " s");
    BaseDemoScreen& scene = demoScene(frame.part);
    const CpuImage now = drawScenePass(scene, frame.t), later = drawScenePass(scene, frame.t + 0.3f);
    const PictureStats stats = statsOf(now);
    EXPECT_TRUE(stats.finite && statsOf(later).finite) << "NaN or Inf in the picture";
    EXPECT_GT(stats.brightest, 0.1f);
    EXPECT_GT(stats.litPixels, pixels / 4);
    EXPECT_GT(maxRgbDifference(now.rgba, later), 0.02f);
  }
}

namespace {

struct PassMark {
  PassKind kind;
  uint32_t programId;
  bool begin;
};

void recordMark(void* marks, PassKind kind, uint32_t programId, bool begin) {
  static_cast<std::vector<PassMark>*>(marks)->push_back({kind, programId, begin});
}

// The marks of one frame: begin and end of the same pass in turn, the scene pass first with a
// linked program, the composite last, post passes between. Returns the number of post passes.
int postPassesOfOneFrame(BaseDemoScreen& scene, float t) {
  std::vector<PassMark> marks;
  passTimingHook = {&recordMark, &marks};
  drawFrame(scene, t, 16, 9);
  passTimingHook = {};
  if (marks.size() < 4 || marks.size() % 2 != 0) {
    ADD_FAILURE() << marks.size() << " marks";
    return -1;
  }
  for (size_t i = 0; i < marks.size(); i += 2) {
    const PassKind want = i == 0 ? PassKind::Scene : i + 2 == marks.size() ? PassKind::Composite : PassKind::Post;
    EXPECT_TRUE(marks[i].begin && !marks[i + 1].begin) << "pass " << i / 2;
    EXPECT_EQ(marks[i].kind, want) << "pass " << i / 2;
    EXPECT_EQ(marks[i + 1].kind, want) << "pass " << i / 2;
    EXPECT_EQ(marks[i].programId, marks[i + 1].programId) << "pass " << i / 2;
  }
  EXPECT_TRUE(linked(marks[0].programId)) << "the scene pass draws with its own program";
  return static_cast<int>(marks.size() / 2) - 2;
}

}  // namespace

TEST_F(ScenePrograms, AFramesPassMarksPairUpInTheOrderOfItsChain) {
  // Post passes of each part's chain with FXAA where the part runs it; the logo part
  // pixelates from 18.5 s.
  const struct {
    int part;
    float t;
    int posts;
  } frames[] = {{0, 6.0f, 7}, {1, 5.0f, 5}, {2, 20.0f, 5}, {3, 5.0f, 4}, {4, 3.0f, 4},
                {5, 18.49f, 0}, {5, 18.5f, 1}, {6, 5.0f, 4}, {7, 1.0f, 0}};
  for (const auto& frame : frames) {
    SCOPED_TRACE("part " + std::to_string(frame.part) + " at " + std::to_string(frame.t) + " s");
    BaseDemoScreen& scene = demoScene(frame.part);
    EXPECT_EQ(postPassesOfOneFrame(scene, frame.t), frame.posts);
    if (!scene.sceneSettings.apply_fxaa) continue;
    scene.sceneSettings.apply_fxaa = false;
    EXPECT_EQ(postPassesOfOneFrame(scene, frame.t), frame.posts - 1) << "without FXAA";
    scene.sceneSettings.apply_fxaa = true;
  }
}

TEST_F(ScenePrograms, TheLoopedNormalIsCalcNormalBitForBitWhereAPixelHit) {
  const GLuint program = buildTestProgram(R"(#version 330 core
out vec4 fragColor;
const int rayMarchIterations = 4;
const float stepSize = 1.0;
const float clipNear = 0.01;
const float clipFar = 10.0;
int iterationsCount = 0;
#include "./shaders/lib/raymarching.glsl"
vec2 map(vec3 p)
{
    return vec2(length(p - vec3(0.3, -0.2, 0.1)) - 1.0 + 0.1 * sin(3.0 * p.x) * cos(2.0 * p.y), 0.0);
}
void main()
{
    vec3 p = vec3(gl_FragCoord.xy / 8.0 - 1.0, 0.37);
    bool missed = gl_FragCoord.x < 4.0;
    vec3 written = calcNormal(p);
    vec3 looped = calcNormalWhereHit(p, missed);
    fragColor = vec4(missed ? 0.5 : float(all(equal(written, looped))), written.x, looped.x, 1.0);
})");
  const TestTarget target = makeTestTarget(16, 16, GL_RGBA32F);
  drawOverTarget(program, target);
  const std::vector<float> read = readTargetFloats(target);
  for (int y = 0; y < 16; ++y)
    for (int x = 4; x < 16; ++x) {
      const auto pixel = pixelAt(read, target, x, y);
      EXPECT_EQ(pixel[0], 1.0f) << x << "," << y << ": " << pixel[1] << " against " << pixel[2];
    }
  glDeleteProgram(program);
}
