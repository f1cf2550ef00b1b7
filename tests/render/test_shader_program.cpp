// Shader program builds: report texts, the file-or-text vertex argument, includes, text files.
#include <gtest/gtest.h>

#include <string>

#include "render/screen_quad.h"
#include "render/shader_program.h"
#include "tests/support/gl_context.h"
#include "tests/support/temp_files.h"

namespace {

const std::string separator = "\n -- " + std::string(51, '-') + " -- \n";
const char* solidRed = "#version 330 core\nout vec4 color;\nvoid main() { color = vec4(1.0, 0.0, 0.0, 1.0); }\n";
// Writes the texture coordinate as colour, so the vertex stage's mapping shows in the pixels.
const char* showCoords = "#version 330 core\nin vec2 TexCoords;\nout vec4 color;\n"
                         "void main() { color = vec4(TexCoords, 0.0, 1.0); }\n";
// A vertex stage that mirrors the quad's texture coordinates left to right.
const char* mirroredVertex =
    "#version 330 core\nlayout (location = 0) in vec2 aPos;\nlayout (location = 1) in vec2 aTexCoords;\n"
    "out vec2 TexCoords;\nvoid main() { TexCoords = vec2(1.0 - aTexCoords.x, aTexCoords.y); "
    "gl_Position = vec4(aPos, 0.0, 1.0); }\n";

bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// Red channel of the leftmost and rightmost pixel of row 0 after drawing `program`.
std::pair<int, int> leftRightRed(GLuint program) {
  const TestTarget target = makeTestTarget(8, 8);
  drawOverTarget(program, target);
  const std::vector<uint8_t> pixels = readTargetBytes(target);
  return {pixelAt(pixels, target, 0, 0)[0], pixelAt(pixels, target, 7, 0)[0]};
}

}  // namespace

class ShaderProgramTest : public GlTest {};

TEST_F(ShaderProgramTest, CompileFailureReportsStageLabelAndThenTheLink) {
  const std::string broken = "this is not glsl";
  const std::string output =
      captureStdout([&] { ShaderProgram(false, screenQuadVertexSource(), broken, ""); });
  const std::string compileHead = "ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT\nFile: " + broken + "\n";
  ASSERT_TRUE(startsWith(output, compileHead)) << output;
  const size_t firstEnd = output.find(separator);
  ASSERT_NE(firstEnd, std::string::npos) << output;
  const std::string linkReport = output.substr(firstEnd + separator.size());
  EXPECT_TRUE(startsWith(linkReport, "ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM\nFile: program\n")) << output;
}

TEST_F(ShaderProgramTest, FragmentFileIsReadAndItsPathLabelsReports) {
  TempDir dir;
  const std::string good = dir.write("red.glsl", solidRed);
  GLuint program = 0;
  EXPECT_EQ(captureStdout([&] { program = ShaderProgram(true, screenQuadVertexSource(), good, "").programId; }), "");
  EXPECT_EQ(leftRightRed(program).first, 255);

  const std::string bad = dir.write("bad.glsl", "#version 330 core\nvoid main() { nonsense; }\n");
  const std::string output = captureStdout([&] { ShaderProgram(true, screenQuadVertexSource(), bad, ""); });
  EXPECT_TRUE(startsWith(output, "ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT\nFile: " + bad + "\n")) << output;
  // Given as text, the path itself is compiled as GLSL and labels the report.
  const std::string asText = captureStdout([&] { ShaderProgram(false, screenQuadVertexSource(), good, ""); });
  EXPECT_TRUE(startsWith(asText, "ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT\nFile: " + good + "\n")) << asText;
}

TEST_F(ShaderProgramTest, MissingFragmentFilePrintsNotFoundThenTheDriverReports) {
  const std::string missing = "/nonexistent/tarvik/missing.glsl";
  const std::string output = captureStdout([&] { ShaderProgram(true, screenQuadVertexSource(), missing, ""); });
  const std::string notFound = "\n\n---- File " + missing + " NOT FOUND!!!!! ----\n\n";
  ASSERT_TRUE(startsWith(output, notFound)) << output;
  EXPECT_NE(output.find("ERROR::"), std::string::npos) << "an empty stage cannot build";
}

TEST_F(ShaderProgramTest, VertexArgumentThatOpensIsReadAsAFile) {
  TempDir dir;
  const std::string path = dir.write("mirror_vtx.glsl", mirroredVertex);
  GLuint program = 0;
  EXPECT_EQ(captureStdout([&] { program = ShaderProgram(false, path, showCoords, "").programId; }), "");
  EXPECT_GT(leftRightRed(program).first, 200) << "the mirrored file ran, not the path text";
  EXPECT_LT(leftRightRed(buildTestProgram(showCoords)).first, 55) << "the screen quad itself does not mirror";
  // Valid GLSL that also names a file (the screen-quad text has no '/') is read from the file.
  const std::string text = screenQuadVertexSource();
  ASSERT_EQ(text.find('/'), std::string::npos);
  dir.write(text, mirroredVertex);
  ScopedWorkingDir inside(dir.path());
  EXPECT_GT(leftRightRed(ShaderProgram(false, text, showCoords, "").programId).first, 200);
}

TEST_F(ShaderProgramTest, FragmentIncludesComeFromDiskForFilesAndEmbeddedCopiesForText) {
  TempDir dir;
  dir.write("shaders/lib/tarvik_test_red.glsl", "vec4 testColor() { return vec4(1.0, 0.0, 0.0, 1.0); }\n");
  const std::string fragment =
      "#version 330 core\nout vec4 color;\n#include \"./shaders/lib/tarvik_test_red.glsl\"\n"
      "void main() { color = testColor(); }\n";
  const std::string path = dir.write("scene.glsl", fragment);
  ScopedWorkingDir inside(dir.path());
  GLuint fromFile = 0;
  EXPECT_EQ(captureStdout([&] { fromFile = ShaderProgram(true, screenQuadVertexSource(), path, "").programId; }), "");
  EXPECT_EQ(leftRightRed(fromFile).first, 255);

  // Not embedded: the text build looks only at the embedded copies and so misses the file.
  const std::string output = captureStdout([&] { ShaderProgram(false, screenQuadVertexSource(), fragment, ""); });
  EXPECT_TRUE(startsWith(output, "\n\n---- File ./shaders/lib/tarvik_test_red.glsl NOT FOUND!!!!! ----\n\n")) << output;
}

TEST(ReadTextFile, JoinsLinesWithoutATrailingLineFeedAndGivesEmptyTextForAMissingFile) {
  TempDir dir;
  EXPECT_EQ(readTextFile(dir.write("with.txt", "a\n\nb\n")), "a\n\nb");
  EXPECT_EQ(readTextFile(dir.write("without.txt", "a\n\nb")), "a\n\nb");
  EXPECT_EQ(readTextFile(dir.write("one_feed.txt", "\n")), "");
  captureStdout([] { EXPECT_EQ(readTextFile("/nonexistent/file.glsl"), ""); });
}
