// The generated resource pack: exact tiling, deterministic bytes, every image decodable as
// RGB or RGBA, and all 29 load-list slots loading through the engine's own loader.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <fstream>
#include <iterator>

#include "render/gl_lists.h"
#include "resources/pack_directory.h"
#include "resources/pack_loader.h"
#include "tests/support/gl_context.h"
#include "tests/support/process_runner.h"
#include "tests/support/temp_files.h"

namespace {

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The pack generated once per test program into a scratch folder.
const std::string& generatedPack() {
  static TempDir dir;
  static const std::string path = (dir.path() / "data.vx").string();
  static const bool made = [] {
    const ProcessResult r = runProcess({builtProgram("make_pack"), path}, dir.path().string(), {}, 0, 120);
    return r.exited && r.exitStatus == 0;
  }();
  EXPECT_TRUE(made);
  return path;
}

bool hasSignature(const std::string& image, const std::string& name) {
  if (name.ends_with(".jpg")) return image.rfind("\xFF\xD8\xFF", 0) == 0;
  return image.rfind("\x89PNG\r\n\x1A\n", 0) == 0;
}

}  // namespace

TEST(PackContent, DirectoryTilesTheGeneratedFileExactly) {
  const std::string pack = readBytes(generatedPack());
  ASSERT_EQ(pack.size(), static_cast<size_t>(packFileSize));
  int expectedOffset = 0;
  for (const PackEntry& row : packDirectory) {
    EXPECT_EQ(row.offset, expectedOffset) << row.name;
    expectedOffset += row.size;
  }
  EXPECT_EQ(expectedOffset, packFileSize);
}

TEST(PackContent, EveryImageIsRgbOrRgbaInItsOwnFormat) {
  const std::string pack = readBytes(generatedPack());
  ASSERT_EQ(pack.size(), static_cast<size_t>(packFileSize));
  for (const PackEntry& row : packDirectory) {
    const std::string image = pack.substr(row.offset, row.size);
    EXPECT_TRUE(hasSignature(image, row.name)) << row.name;
    int w = 0, h = 0, channels = 0;
    ASSERT_TRUE(stbi_info_from_memory(reinterpret_cast<const stbi_uc*>(image.data()), row.size, &w, &h, &channels))
        << row.name;
    EXPECT_TRUE(channels == 3 || channels == 4) << row.name << " has " << channels;
    if (row.name == "tarviklogo1080p.png") {
      EXPECT_EQ(std::make_pair(w, h), std::make_pair(1920, 1080));
    }
  }
}

TEST(PackContent, GenerationIsDeterministic) {
  TempDir other;
  const std::string again = (other.path() / "again.vx").string();
  const ProcessResult r = runProcess({builtProgram("make_pack"), again}, other.path().string(), {}, 0, 120);
  ASSERT_TRUE(r.exited && r.exitStatus == 0) << r.output;
  EXPECT_TRUE(readBytes(again) == readBytes(generatedPack()));
}

class PackSlots : public GlTest {};

TEST_F(PackSlots, AllTwentyNineSlotsLoadAsColourTextures) {
  const std::string path = generatedPack();
  const char* saved = packFilePath;
  packFilePath = path.c_str();
  packTextures.clear();
  captureStdout(loadPackImages);
  packFilePath = saved;
  ASSERT_EQ(packTextures.size(), 29u);
  for (size_t slot = 0; slot < packTextures.size(); ++slot) {
    ASSERT_NE(packTextures[slot], 0u) << "slot " << slot;
    glBindTexture(GL_TEXTURE_2D, packTextures[slot]);
    GLint width = 0, format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    EXPECT_GT(width, 0) << "slot " << slot;
    EXPECT_TRUE(format == GL_RGB || format == GL_RGBA || format == GL_RGB8 || format == GL_RGBA8) << "slot " << slot;
  }
  glBindTexture(GL_TEXTURE_2D, packTextures[17]);
  GLint width = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 1920);
  packTextures.clear();
}

// The loader keeps GL's 4-byte row alignment, so an RGB image whose rows are not a multiple of
// four bytes would upload skewed.
TEST(PackContent, RgbRowsMeetTheDefaultUploadAlignment) {
  const std::string pack = readBytes(generatedPack());
  ASSERT_EQ(pack.size(), static_cast<size_t>(packFileSize));
  for (const PackEntry& row : packDirectory) {
    int w = 0, h = 0, channels = 0;
    stbi_info_from_memory(reinterpret_cast<const stbi_uc*>(pack.data() + row.offset), row.size, &w, &h, &channels);
    EXPECT_EQ(w * channels % 4, 0) << row.name << " is " << w << " wide with " << channels << " channels";
  }
}
