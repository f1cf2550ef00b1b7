// Source assembly: layout order, the "#version 140" rule, missing files, final line feeds, and
// include lines: nested, each file once per assembly, a cycle or a chain too deep an #error line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "render/shader_program.h"
#include "render/shader_source_builder.h"
#include "tests/support/gl_context.h"
#include "tests/support/temp_files.h"

namespace {

// Builds in `dir` with the scene row of the abstract worlds; returns the pieces.
std::vector<std::string> assemble(const TempDir& dir) {
  ScopedWorkingDir inside(dir.path());
  ShaderSourceBuilder builder;
  captureStdout([&] { builder.begin(1.16f).addRaymarching(0.75f, 128, 0.4f, 0.01f, 30.0f).addLights(2); });
  return builder.lines;
}

// Builds the given files in order in `dir`, with what it printed.
std::pair<std::string, std::string> build(const TempDir& dir, std::initializer_list<const char*> paths) {
  ScopedWorkingDir inside(dir.path());
  ShaderSourceBuilder builder;
  const std::string printed = captureStdout([&] {
    for (const char* path : paths) builder.addFile(path);
  });
  return {builder.build(), printed};
}

}  // namespace

TEST(ShaderSourceBuilder, BasicSnippetThenGammaWithEmptySnippets) {
  TempDir dir;
  dir.write("shaders/lib/basic.glsl", "#version 140\nfloat basic;\n");
  dir.write("shaders/lib/gamma.glsl", "");
  dir.write("shaders/lib/materials.glsl", "");
  ScopedWorkingDir inside(dir.path());
  EXPECT_EQ(ShaderSourceBuilder{}.begin(1.16f).build(), "#version 140\nfloat basic;\n#define GAMMA 1.160000");
}

TEST(ShaderSourceBuilder, EveryFileMissingLeavesTheGeneratedLinesInOrder) {
  TempDir dir;
  const std::vector<std::string> expected = {
      "#define GAMMA 1.160000",          "#define FOV 0.750000",        "int iterationsCount = 0;",
      "const int rayMarchIterations = 128;", "float stepSize = 0.400000;", "const float clipNear = 0.010000;",
      "const float clipFar = 30.000000;", "const int LIGHTS = 2;",        "const bool USE_AO = true;"};
  EXPECT_EQ(assemble(dir), expected);
}

TEST(ShaderSourceBuilder, LaterVersion140LinesDropButOtherDirectivesStay) {
  TempDir dir;
  dir.write("shaders/lib/basic.glsl", "#version 140\nA");
  dir.write("shaders/lib/gamma.glsl", "#version 140\n\nB\n");
  dir.write("shaders/lib/light.glsl", "#version 330 core\nC\n #version 140\n");
  const std::vector<std::string> lines = assemble(dir);
  EXPECT_EQ(lines[0], "#version 140");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "#version 140"), 1);
  EXPECT_EQ(lines[lines.size() - 3], "#version 330 core");
  EXPECT_EQ(lines.back(), " #version 140") << "only the exact line is dropped";
}

TEST(ShaderSourceBuilder, NestedIncludesComeFromDiskInPlaceAndEachFileOnlyOnce) {
  TempDir dir;
  dir.write("shaders/lib/outer.glsl", "#version 140\nouter\n#include \"./shaders/lib/inner.glsl\"\nouter end\n");
  dir.write("shaders/lib/inner.glsl", "inner\n");
  dir.write("shaders/lib/extra.glsl", "extra\n#include \"./shaders/lib/inner.glsl\"\n");
  dir.write("shaders/scenes/s.glsl",
            "a\n#include \"./shaders/lib/outer.glsl\"\n#include \"./shaders/lib/inner.glsl\"\n"
            "  #include \"./shaders/lib/extra.glsl\"\nb\n");
  EXPECT_EQ(build(dir, {"./shaders/scenes/s.glsl"}), std::make_pair(std::string("a\nouter\ninner\nouter end\nextra\nb"),
                                                                    std::string()));
  // Across the pieces of one assembly too: a snippet added before is not included again.
  EXPECT_EQ(build(dir, {"./shaders/lib/inner.glsl", "./shaders/lib/extra.glsl"}).first, "inner\nextra");
}

TEST(ShaderSourceBuilder, AnIncludeCycleIsATextThatCannotCompileNamingIt) {
  TempDir dir;
  dir.write("shaders/lib/a.glsl", "a\n#include \"./shaders/lib/b.glsl\"\n");
  dir.write("shaders/lib/b.glsl", "b\n#include \"shaders/lib/a.glsl\"\n");  // the same file, spelt otherwise
  dir.write("shaders/lib/self.glsl", "self\n#include \"./shaders/lib/self.glsl\"\n");
  EXPECT_EQ(build(dir, {"./shaders/lib/a.glsl"}).first,
            "a\nb\n#error include cycle: shaders/lib/a.glsl -> shaders/lib/b.glsl -> shaders/lib/a.glsl");
  EXPECT_EQ(build(dir, {"./shaders/lib/self.glsl"}).first,
            "self\n#error include cycle: shaders/lib/self.glsl -> shaders/lib/self.glsl");
}

TEST(ShaderSourceBuilder, AnIncludeChainTooDeepStopsWithOneLineAndATextThatCannotCompile) {
  TempDir dir;
  for (int i = 0; i < 100; ++i)
    dir.write("shaders/lib/d" + std::to_string(i) + ".glsl",
              "#include \"./shaders/lib/d" + std::to_string(i + 1) + ".glsl\"\n");
  const auto [text, printed] = build(dir, {"./shaders/lib/d0.glsl"});
  EXPECT_EQ(printed, "include depth over 64 at shaders/lib/d64.glsl:1\n");
  EXPECT_EQ(text, "#error include depth over 64");
}

TEST(ShaderSourceBuilder, FolderOrFifoIsReportedAsUnreadableAndAddsNothing) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "shaders/scenes/folder.glsl");
  ScopedWorkingDir inside(dir.path());
  const std::string folder = "./shaders/scenes/folder.glsl";
  ShaderSourceBuilder builder;
  EXPECT_EQ(captureStdout([&] { builder.addFile(folder); }), "cannot read shader file " + folder + ": it is a folder\n");
  const std::string fifo = "./shaders/scenes/fifo.glsl";
  std::string output;
  EXPECT_FALSE(waitsOnFifo(fifo, [&] { output = captureStdout([&] { builder.addFile(fifo); }); }));
  EXPECT_EQ(output, "cannot read shader file " + fifo + ": it is not a regular file\n");
  EXPECT_TRUE(builder.lines.empty());
}
