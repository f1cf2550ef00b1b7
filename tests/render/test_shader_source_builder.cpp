// Source assembly: layout order, the "#version 140" rule, missing files, final line feeds.
#include <gtest/gtest.h>

#include <algorithm>

#include "render/shader_source_builder.h"
#include "tests/support/gl_context.h"
#include "tests/support/temp_files.h"

namespace {

std::vector<std::string> assemble(const TempDir& dir) {
  ScopedWorkingDir inside(dir.path());
  ShaderSourceBuilder builder;
  std::vector<std::string> lines;
  captureStdout([&] { lines = builder.begin(1.16f).addRaymarching(0.75f, 128, 0.4f, 0.01f, 30.0f).addLights(2).lines; });
  return lines;
}

}  // namespace

TEST(ShaderSourceBuilder, BasicSnippetThenGammaWithEmptySnippets) {
  TempDir dir;
  dir.write("shaders/lib/basic.glsl", "#version 140\nfloat basic;\n");
  dir.write("shaders/lib/gamma.glsl", "");
  dir.write("shaders/lib/materials.glsl", "");
  ScopedWorkingDir inside(dir.path());
  std::string text;
  captureStdout([&] { text = ShaderSourceBuilder{}.begin(1.16f).build(); });
  EXPECT_EQ(text, "#version 140\nfloat basic;\n#define GAMMA 1.160000");
}

TEST(ShaderSourceBuilder, EveryFileMissingLeavesTheGeneratedLinesInOrder) {
  TempDir dir;
  const std::vector<std::string> expected = {
      "#define GAMMA 1.160000",          "#define FOV 0.750000",        "int iterationsCount = 0;",
      "const int rayMarchIterations = 128;", "float stepSize = 0.400000;", "const float clipNear = 0.010000;",
      "const float clipFar = 30.000000;", "const int LIGHTS = 2;",        "const bool USE_AO = true;"};
  EXPECT_EQ(assemble(dir), expected);
  ScopedWorkingDir inside(dir.path());
  EXPECT_EQ(captureStdout([] { ShaderSourceBuilder{}.addFile("./shaders/scenes/none.glsl"); }),
            "\n\n---- File ./shaders/scenes/none.glsl NOT FOUND!!!!! ----\n\n");
}

TEST(ShaderSourceBuilder, LaterVersion140LinesDropButOtherDirectivesStay) {
  TempDir dir;
  dir.write("shaders/lib/basic.glsl", "#version 140\nA");
  dir.write("shaders/lib/gamma.glsl", "#version 140\n\nB\n");
  dir.write("shaders/lib/light.glsl", "#version 330 core\nC\n #version 140\n");
  const std::vector<std::string> lines = assemble(dir);
  EXPECT_EQ(lines[0], "#version 140");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "#version 140"), 1);
  EXPECT_EQ(lines[3], "") << "an empty line inside a file is its own piece";
  EXPECT_EQ(lines[4], "B");
  EXPECT_EQ(lines[lines.size() - 3], "#version 330 core");
  EXPECT_EQ(lines.back(), " #version 140") << "only the exact line is dropped";
}

TEST(ShaderSourceBuilder, TrailingLineFeedMakesNoDifference) {
  TempDir with, without;
  with.write("shaders/scenes/s.glsl", "x\ny\n");
  without.write("shaders/scenes/s.glsl", "x\ny");
  const auto build = [](const TempDir& dir) {
    ScopedWorkingDir inside(dir.path());
    return ShaderSourceBuilder{}.addFile("./shaders/scenes/s.glsl").build();
  };
  EXPECT_EQ(build(with), "x\ny");
  EXPECT_EQ(build(without), "x\ny");
  EXPECT_EQ(ShaderSourceBuilder{}.build(), "");
}

TEST(ShaderSourceBuilder, IncludeLinesComeFromTheBuildersOwnSource) {
  TempDir dir;
  dir.write("shaders/scenes/s.glsl", "a\n#include \"./shaders/lib/disk_only.glsl\"\nb\n");
  dir.write("shaders/lib/disk_only.glsl", "#version 140\nfrom disk\n");
  ScopedWorkingDir inside(dir.path());
  EXPECT_EQ(ShaderSourceBuilder{}.addFile("./shaders/scenes/s.glsl").build(), "a\nfrom disk\nb")
      << "a text built from disk takes included lines from disk, never from the embedded copies";
}
