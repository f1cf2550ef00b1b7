// The studio's GL pieces on tiny targets: a program rebuilt from disk when a file it read is
// saved (also through an include and through ShaderSourceBuilder), a broken save keeping the
// last good program with its error placed in the file, replaced programs freed over 50 rebuilds;
// GL timestamps in order; overlay text and rectangles landing where they should.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "studio/overlay_rects.h"
#include "studio/overlay_text.h"
#include "render/pass_programs.h"
#include "render/shader_build_hooks.h"
#include "timing/timer_queries.h"
#include "studio/programs.h"
#include "studio/watch.h"
#include "tests/support/gl_context.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_paths.h"

namespace {

constexpr const char* probeFile = "shaders/postprocessors/probe.glsl";
using Rgba = std::array<uint8_t, 4>;

std::string solidShader(float r, float g, float b, const std::string& extraLine = "") {
  char text[300];
  std::snprintf(text, sizeof text, "#version 330 core\nout vec4 fragColor;\n%svoid main() { fragColor = vec4(%.1f, %.1f, %.1f, 1.0); }\n",
                extraLine.c_str(), r, g, b);
  return text;
}

long residentKilobytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A working folder with the screen-quad vertex file, a StudioPrograms fed by the build hooks,
// and the watcher/rebuild step the studio runs on each poll.
class StudioProgramsTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    target_ = makeTestTarget(4, 4);
    vertex_ = fileBytes(std::string(testSourceDir()) + "/shaders/screenquad_vtx.glsl");
    dir_.write("shaders/screenquad_vtx.glsl", vertex_);
    shaderBuildHooks.programCreated = [this](ShaderProgram& p, bool isFile, const std::string& v,
                                             const std::string& f, const std::string& g) {
      programs_.add(p, "test", describeProgramSource(isFile, v, f, g));
    };
    shaderBuildHooks.programDestroyed = [this](ShaderProgram& p) { programs_.remove(p); };
  }
  void TearDown() override { shaderBuildHooks = {}; }

  Rgba drawn(const ShaderProgram& program) {
    drawOverTarget(program.programId, target_);
    return pixelAt(readTargetBytes(target_), target_, 2, 2);
  }
  ProgramsRebuilt pollAndRebuild(ShaderFolderWatcher& watcher) {
    return programs_.rebuild(programs_.readersOf(pathsWith(watcher.poll(), InputFileStatus::ok)), {});
  }

  TempDir dir_;
  std::string vertex_;
  StudioPrograms programs_;
  TestTarget target_;
};

}  // namespace

TEST_F(StudioProgramsTest, IncludedAndAssembledFilesAreWatchedAndTheirErrorsPlacedInThem) {
  ScopedWorkingDir here(dir_.path());
  dir_.write("shaders/lib/tint.glsl", "vec4 tint() { return vec4(1.0, 0.0, 1.0, 1.0); }\n");
  dir_.write(probeFile, "#version 330 core\nout vec4 fragColor;\n#include \"./shaders/lib/tint.glsl\"\n"
                        "void main() { fragColor = tint(); }\n");
  dir_.write("shaders/scenes/probe_scene.glsl", "out vec4 fragColor;\nvoid main() { fragColor = vec4(LEVEL); }\n");
  const PassProgram probe = filePassProgram("./shaders/postprocessors/probe.glsl");
  const ShaderSourceBuilder assembled = ShaderSourceBuilder::replay(
      {{false, "#version 330 core"}, {false, "#define LEVEL 0.5"}, {true, "./shaders/scenes/probe_scene.glsl"}},
      ShaderFiles::Disk);
  const auto scene = std::make_unique<ShaderProgram>(false, "./shaders/screenquad_vtx.glsl", assembled.build(), "");
  EXPECT_EQ(drawn(*scene)[0], 128);
  programs_.rebuild(programs_.all(), {});  // as the studio starts: this tells what each reads
  ShaderFolderWatcher watcher("./shaders");
  watcher.poll();

  dir_.write("shaders/lib/tint.glsl", "\nvec4 tint() { return vec4(1.0, 0.0, 1.0, 1.0) }\n");
  ProgramsRebuilt result = pollAndRebuild(watcher);
  EXPECT_EQ(result.kept, std::vector<std::string>{"test/probe"});
  ASSERT_FALSE(result.errors.empty());
  EXPECT_EQ(result.errors[0].rfind("shaders/lib/tint.glsl:2: ", 0), 0u) << result.errors[0];
  // A file that includes itself fails with that one error, at its include line.
  dir_.write(probeFile, "#version 330 core\n#include \"./shaders/postprocessors/probe.glsl\"\nout vec4 fragColor;\n"
                        "void main() { fragColor = vec4(1.0); }\n");
  result = pollAndRebuild(watcher);
  ASSERT_EQ(result.errors.size(), 1u) << testing::PrintToString(result.errors);
  EXPECT_EQ(result.errors[0].rfind("shaders/postprocessors/probe.glsl:2: ", 0), 0u) << result.errors[0];
  EXPECT_NE(result.errors[0].find("include cycle"), std::string::npos) << result.errors[0];

  dir_.write("shaders/scenes/probe_scene.glsl", "out vec4 fragColor;\nvoid main() { fragColor = vec4(LEVEL * 2.0); }\n");
  result = pollAndRebuild(watcher);
  EXPECT_EQ(result.rebuilt, std::vector<std::string>{"test/probe_scene"});
  EXPECT_EQ(drawn(*scene), (Rgba{255, 255, 255, 255}));
  dir_.write("shaders/scenes/probe_scene.glsl", "out vec4 fragColor;\n\nvoid main() { fragColor = vec4(LEVL); }\n");
  result = pollAndRebuild(watcher);
  ASSERT_FALSE(result.errors.empty());
  EXPECT_EQ(result.errors[0].rfind("shaders/scenes/probe_scene.glsl:3: ", 0), 0u) << result.errors[0];
}

TEST_F(StudioProgramsTest, FiftyRebuildsFreeWhatTheyReplace) {
  ScopedWorkingDir here(dir_.path());
  dir_.write(probeFile, solidShader(1, 0, 0));
  const PassProgram probe = filePassProgram("./shaders/postprocessors/probe.glsl");
  std::vector<uint32_t> replaced;
  [[maybe_unused]] long afterFirst = 0;
  for (int i = 0; i < 50; ++i) {
    dir_.write(probeFile, solidShader(i % 2, 0, 0, "float unused" + std::to_string(i) + ";\n"));
    replaced.push_back(probe->programId);
    ASSERT_EQ(programs_.rebuild(programs_.all(), {}).rebuilt.size(), 1u);
    drawn(*probe);
    if (i == 0) afterFirst = residentKilobytes();
  }
  for (const uint32_t id : replaced) EXPECT_FALSE(glIsProgram(id)) << "program " << id << " was not deleted";
#ifndef __SANITIZE_ADDRESS__  // AddressSanitizer's quarantine keeps freed memory resident
  EXPECT_LT(residentKilobytes() - afterFirst, 20 * 1024);
#endif
}

TEST_F(GlTest, TimestampsOfAFinishedFrameAreAvailableAndInOrder) {
  if (!GlTimestampQueries::supported()) GTEST_SKIP() << "no timestamp queries";
  GlTimestampQueries queries;
  const uint32_t before = queries.create(), after = queries.create();
  queries.stamp(before);
  drawOverTarget(buildTestProgram(solidShader(1, 1, 1)), makeTestTarget(16, 16));
  queries.stamp(after);
  glFinish();
  ASSERT_TRUE(queries.available(before) && queries.available(after));
  EXPECT_LE(queries.nanoseconds(before), queries.nanoseconds(after));
  EXPECT_GT(queries.nanoseconds(before), 0u);
}

TEST_F(GlTest, OverlayTextAndRectanglesLandFromTheTopLeft) {
  OverlayText text;
  if (!text.load("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", 15.0f)) GTEST_SKIP() << "no DejaVu font";
  EXPECT_GT(text.textWidth("WWW"), text.textWidth("W"));
  const TestTarget target = makeTestTarget(120, 40);
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  text.drawBlock({{"WM", {1.0f, 1.0f, 1.0f}}}, 2.0f, 2.0f, target.framebuffer, target.width, target.height);
  drawOverlayRects({{100.0f, 30.0f, 10.0f, 5.0f, {0.0f, 1.0f, 0.0f}}}, target.framebuffer, target.width, target.height);
  const std::vector<uint8_t> pixels = readTargetBytes(target);
  int bright = 0, dark = 0;
  for (int y = 0; y < target.height; ++y)
    for (int x = 0; x < 90; ++x) {
      bright += pixelAt(pixels, target, x, y)[0] > 200;
      dark += pixelAt(pixels, target, x, y)[0] < 100;
    }
  EXPECT_GT(bright, 20) << "glyph pixels";
  EXPECT_GT(dark, 100) << "the box behind them";
  // Rows of pixelAt count from the bottom; the box and the rectangle from the top.
  EXPECT_LT(pixelAt(pixels, target, 3, target.height - 3)[0], 100);
  EXPECT_GE(pixelAt(pixels, target, 3, 3)[0], 127);
  EXPECT_EQ(pixelAt(pixels, target, 105, 7), (Rgba{0, 255, 0, 255}));
  EXPECT_EQ(pixelAt(pixels, target, 105, 12)[1], 128) << "outside the rectangle";
}
