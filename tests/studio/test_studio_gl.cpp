// The studio's GL pieces on tiny targets: a scene reload under the guard keeps the last good
// program when a file breaks and reports its first error, a fixed file is picked up on the next
// poll; GL timestamps come back in order; the overlay text lands in its target.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "studio/reload.h"
#include "studio/watch.h"
#include "render/overlay_text.h"
#include "render/pass_programs.h"
#include "render/shader_build_hooks.h"
#include "render/timer_queries.h"
#include "scenes/base_demo_screen.h"
#include "tests/support/gl_context.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_paths.h"

namespace {

constexpr const char* probePath = "./shaders/postprocessors/probe.glsl";

std::string solidShader(float r, float g, float b) {
  char text[200];
  std::snprintf(text, sizeof text,
                "#version 330 core\nout vec4 fragColor;\nvoid main() { fragColor = vec4(%.1f, %.1f, %.1f, 1.0); }\n",
                r, g, b);
  return text;
}

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A scene whose reload rebuilds one pass from the probe file.
class ProbeScene : public BaseDemoScreen {
 public:
  void reload() override { program = filePassProgram(probePath); }
  PassProgram program;
};

class StudioReloadTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    target_ = makeTestTarget(4, 4);
    dir_.write("shaders/screenquad_vtx.glsl", fileText(std::string(testSourceDir()) + "/shaders/screenquad_vtx.glsl"));
    shaderBuildHooks.programBuilt = [this](const ShaderBuild& build) { return reloader_.onProgramBuilt(build); };
    shaderBuildHooks.fileRead = [this](const std::string& path, bool found) { reloader_.onFileRead(path, found); };
  }
  void TearDown() override { shaderBuildHooks = {}; }

  void writeProbe(const std::string& text) { dir_.write("shaders/postprocessors/probe.glsl", text); }

  // The colour the scene's program draws now.
  std::array<uint8_t, 4> drawnColour() {
    drawOverTarget(scene_.program->programId, target_);
    return pixelAt(readTargetBytes(target_), target_, 2, 2);
  }

  // One poll of the watcher and the reloads it asks for, as the studio does.
  SceneReload pollAndReload(ShaderFolderWatcher& watcher, ShaderFileChanges& changes) {
    changes = watcher.poll();
    SceneReload result;
    for (const size_t index : scenesReading(reloader_.filesPerScene(), changes.changed))
      result = reloader_.reloadScene(index);
    return result;
  }

  TempDir dir_;
  ProbeScene scene_;
  std::vector<BaseDemoScreen*> scenes_{&scene_};
  StudioReloader reloader_{scenes_};
  TestTarget target_;
};

}  // namespace

TEST_F(StudioReloadTest, ABrokenFileKeepsTheLastGoodProgramAndAFixedOneIsPickedUp) {
  ScopedWorkingDir here(dir_.path());
  writeProbe(solidShader(1, 0, 0));
  ASSERT_TRUE(reloader_.reloadScene(0).ok);
  EXPECT_EQ(drawnColour(), (std::array<uint8_t, 4>{255, 0, 0, 255}));
  const std::set<std::string> read = reloader_.filesPerScene()[0];
  EXPECT_TRUE(read.count("shaders/postprocessors/probe.glsl"));
  EXPECT_TRUE(read.count("shaders/screenquad_vtx.glsl"));

  ShaderFolderWatcher watcher("./shaders");
  ShaderFileChanges changes;
  writeProbe(solidShader(0, 1, 0));
  EXPECT_TRUE(pollAndReload(watcher, changes).ok);
  EXPECT_EQ(drawnColour(), (std::array<uint8_t, 4>{0, 255, 0, 255}));
  const uint32_t good = scene_.program->programId;

  writeProbe("#version 330 core\nout vec4 fragColor;\nvoid main() { fragColor = vec4(0.0, 0.0, 1.0 }\n");
  SceneReload broken;
  const std::string report = captureStdout([&] { broken = pollAndReload(watcher, changes); });
  EXPECT_FALSE(broken.ok);
  EXPECT_TRUE(broken.keptOld);
  EXPECT_NE(broken.firstError.find("error"), std::string::npos) << broken.firstError;
  EXPECT_NE(report.find("ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT"), std::string::npos) << report;
  EXPECT_EQ(scene_.program->programId, good);
  EXPECT_EQ(drawnColour(), (std::array<uint8_t, 4>{0, 255, 0, 255})) << "the last good program still draws";

  writeProbe(solidShader(0, 0, 1));
  EXPECT_TRUE(pollAndReload(watcher, changes).ok) << "the next poll picks the fixed file up";
  EXPECT_NE(scene_.program->programId, good);
  EXPECT_EQ(drawnColour(), (std::array<uint8_t, 4>{0, 0, 255, 255}));
}

TEST_F(StudioReloadTest, ADeletedFileIsReportedAndReloadsNothing) {
  ScopedWorkingDir here(dir_.path());
  writeProbe(solidShader(1, 0, 0));
  ASSERT_TRUE(reloader_.reloadScene(0).ok);
  const uint32_t good = scene_.program->programId;
  ShaderFolderWatcher watcher("./shaders");
  std::filesystem::remove(dir_.path() / "shaders/postprocessors/probe.glsl");
  ShaderFileChanges changes;
  pollAndReload(watcher, changes);
  EXPECT_EQ(changes.lost, std::vector<std::string>{"shaders/postprocessors/probe.glsl"});
  EXPECT_EQ(scene_.program->programId, good);
  EXPECT_EQ(drawnColour(), (std::array<uint8_t, 4>{255, 0, 0, 255}));
}

TEST_F(StudioReloadTest, AFileAlreadyBrokenAtTheFirstReloadHasNothingToKeep) {
  ScopedWorkingDir here(dir_.path());
  writeProbe("not glsl at all");
  SceneReload first;
  captureStdout([&] { first = reloader_.reloadScene(0); });
  EXPECT_FALSE(first.ok);
  EXPECT_FALSE(first.keptOld);
  std::filesystem::remove(dir_.path() / "shaders/postprocessors/probe.glsl");
  captureStdout([&] { first = reloader_.reloadScene(0); });
  EXPECT_EQ(first.missingFiles, std::vector<std::string>{"shaders/postprocessors/probe.glsl"});
}

TEST_F(StudioReloadTest, BuildsOutsideAReloadPassUntouched) {
  ScopedWorkingDir here(dir_.path());
  writeProbe("not glsl at all");
  PassProgram outside;
  captureStdout([&] { outside = filePassProgram(probePath); });
  GLint linked = 1;
  glGetProgramiv(outside->programId, GL_LINK_STATUS, &linked);
  EXPECT_EQ(linked, 0) << "no guard outside a reload";
  EXPECT_TRUE(reloader_.filesPerScene().empty() || reloader_.filesPerScene()[0].empty());
}

TEST_F(GlTest, TimestampsOfAFinishedFrameAreAvailableAndInOrder) {
  if (!GlTimestampQueries::supported()) GTEST_SKIP() << "no timestamp queries";
  GlTimestampQueries queries;
  const uint32_t before = queries.create(), after = queries.create();
  const TestTarget target = makeTestTarget(16, 16);
  queries.stamp(before);
  drawOverTarget(buildTestProgram(solidShader(1, 1, 1)), target);
  queries.stamp(after);
  glFinish();
  ASSERT_TRUE(queries.available(before));
  ASSERT_TRUE(queries.available(after));
  EXPECT_LE(queries.nanoseconds(before), queries.nanoseconds(after));
  EXPECT_GT(queries.nanoseconds(before), 0u);
}

TEST_F(GlTest, OverlayTextDrawsLettersOverADarkBox) {
  OverlayText text;
  if (!text.load("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", 15.0f)) GTEST_SKIP() << "no DejaVu font";
  EXPECT_GT(text.lineHeight(), 10.0f);
  EXPECT_GT(text.textWidth("WWW"), text.textWidth("W"));
  const TestTarget target = makeTestTarget(120, 40);
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  text.drawBlock({{"WM", {1.0f, 1.0f, 1.0f}}}, 2.0f, 2.0f, target.framebuffer, target.width, target.height);
  const std::vector<uint8_t> pixels = readTargetBytes(target);
  int bright = 0, dark = 0, untouched = 0;
  for (int y = 0; y < target.height; ++y) {
    for (int x = 0; x < target.width; ++x) {
      const uint8_t red = pixelAt(pixels, target, x, y)[0];
      bright += red > 200;
      dark += red < 100;
      untouched += red == 128 || red == 127;
    }
  }
  EXPECT_GT(bright, 20) << "glyph pixels";
  EXPECT_GT(dark, 100) << "the box behind them";
  EXPECT_GT(untouched, 2000) << "outside the box";
  // The box sits at the top left: window pixels count from the top.
  EXPECT_LT(pixelAt(pixels, target, 3, target.height - 3)[0], 100);
  EXPECT_GE(pixelAt(pixels, target, 3, 3)[0], 127);
}
