// The pack loader against packs the test builds: lookup, messages, flips, channel counts,
// wrap modes, a pack that does not open; and the 29 slots of the shipped pack, each picture
// the way up and with the wrap mode its scenes sample it with.
#include <gtest/gtest.h>
#include <stb_image.h>
#include <stb_image_write.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "render/gl_lists.h"
#include "resources/pack_directory.h"
#include "resources/pack_loader.h"
#include "tests/support/gl_context.h"
#include "tests/support/temp_files.h"

namespace {

void appendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::string*>(context);
  out->append(static_cast<const char*>(data), size);
}

// A 2 x 2 image whose stored first row is red and second row blue (alpha 255 where present).
std::string twoRowImage(int channels, bool jpeg) {
  std::vector<unsigned char> pixels;
  for (int row = 0; row < 2; ++row)
    for (int x = 0; x < 2; ++x)
      for (int c = 0; c < channels; ++c) pixels.push_back(c == 3 ? 255 : (row == 0 ? (c == 0) : (c == 2)) * 255);
  std::string out;
  if (jpeg) stbi_write_jpg_to_func(appendBytes, &out, 2, 2, channels, pixels.data(), 100);
  else stbi_write_png_to_func(appendBytes, &out, 2, 2, channels, pixels.data(), 2 * channels);
  return out;
}

// A pack of the real length with the given images at the directory offsets of their names.
std::string packWith(const std::vector<std::pair<const char*, std::string>>& images) {
  std::string pack(packFileSize, '\0');
  for (const auto& [name, image] : images) pack.replace(findPackEntry(name)->offset, image.size(), image);
  return pack;
}

std::string testPack() {
  return packWith({{"DirtRockTerrain.jpg", twoRowImage(3, true)},
                   {"overlay.png", twoRowImage(4, false)},
                   {"bubble2.png", twoRowImage(1, false)}});
}

std::string blackPng(int width, int height) {
  const std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3, 0);
  std::string out;
  stbi_write_png_to_func(appendBytes, &out, width, height, 3, pixels.data(), width * 3);
  return out;
}

// The 2 x 2 JPEG with a frame header that declares `side` x `side`: the decoder would fill the
// whole declared picture from the few bytes there are.
std::string jpegDeclaring(int side) {
  std::string jpeg = twoRowImage(3, true);
  const size_t frame = jpeg.find("\xFF\xC0");
  for (const size_t at : {frame + 5, frame + 7}) {
    jpeg[at] = static_cast<char>(side >> 8);
    jpeg[at + 1] = static_cast<char>(side & 0xFF);
  }
  return jpeg;
}

// The 2 x 2 JPEG whose first Huffman table is defined in DC slot 2, so its scan decodes with a
// DC slot 0 that nothing defined: the decoder would read tables from uninitialised memory.
std::string jpegScanningAnUndefinedTable() {
  std::string jpeg = twoRowImage(3, true);
  jpeg[jpeg.find("\xFF\xC4") + 4] = 0x02;
  return jpeg;
}

}  // namespace

class PackLoader : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    savedPath = packFilePath;
    storedPath = dir.write("data.vx", testPack());
    packFilePath = storedPath.c_str();
  }
  void TearDown() override { packFilePath = savedPath; }

  TempDir dir;
  std::string storedPath;
  const char* savedPath = nullptr;
};

TEST_F(PackLoader, NamesAreLookedUpExactlyAndReported) {
  uint32_t texture = 1;
  EXPECT_EQ(captureStdout([&] { texture = loadPackTexture(false, false, false, "Overlay.png"); }),
            "resource Overlay.png not found\n");
  EXPECT_EQ(texture, 0u);
  EXPECT_EQ(captureStdout([&] { texture = loadPackTexture(false, false, false, "overlay.png"); }),
            "loading resource: overlay.pngoffset: 149483\n");
  EXPECT_NE(texture, 0u);
}

TEST_F(PackLoader, ChannelCountsChooseTheFormatAndGreyUploadsNothing) {
  loadPackTexture(false, false, false, "DirtRockTerrain.jpg");
  EXPECT_EQ(levelParameter(GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
  loadPackTexture(false, false, false, "overlay.png");
  EXPECT_EQ(levelParameter(GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
  captureStdout([] { loadPackTexture(false, false, false, "bubble2.png"); });
  EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH), 0) << "a grey image leaves its texture empty";
}

TEST_F(PackLoader, RepeatWinsOverClampAndNeitherKeepsTheDefault) {
  captureStdout([] { loadPackTexture(false, true, false, "overlay.png"); });
  EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
  captureStdout([] { loadPackTexture(false, true, true, "overlay.png"); });
  EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
  captureStdout([] { loadPackTexture(false, false, false, "overlay.png"); });
  EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
}

TEST_F(PackLoader, MissingPackFillsEverySlotWithZero) {
  const std::string missing = (dir.path() / "no-such.vx").string();
  packFilePath = missing.c_str();
  packTextures.clear();
  const std::string output = captureStdout(loadPackImages);
  ASSERT_EQ(packTextures.size(), 29u);
  for (uint32_t name : packTextures) EXPECT_EQ(name, 0u);
  EXPECT_NE(output.find("loading resource: DirtRockTerrain.jpgoffset: 0\ncould not open resource DirtRockTerrain.jpg\n"),
            std::string::npos);
  packTextures.clear();
}

TEST_F(PackLoader, EntryThatDoesNotDecodeIsNamedAndHoldsOneTransparentBlackTexel) {
  // The test pack has zeros where gtext1.png should start: no decoder takes that.
  while (glGetError() != GL_NO_ERROR) {
  }
  uint32_t texture = 0;
  EXPECT_EQ(captureStdout([&] { texture = loadPackTexture(true, true, false, "gtext1.png"); }),
            "loading resource: gtext1.pngoffset: 201098\ncould not decode resource gtext1.png\n");
  ASSERT_NE(texture, 0u);
  glBindTexture(GL_TEXTURE_2D, texture);
  EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH), 1);
  EXPECT_EQ(levelParameter(GL_TEXTURE_HEIGHT), 1);
  std::vector<uint8_t> rgba(4, 99);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  EXPECT_EQ(rgba, (std::vector<uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE) << "the slot's wrap mode still applies";
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "the mipmaps came from a defined level";
}

namespace {

// The texture as RGBA bytes, rows from t = 0 up.
std::vector<uint8_t> textureBytes(uint32_t texture, int& width, int& height) {
  glBindTexture(GL_TEXTURE_2D, texture);
  width = levelParameter(GL_TEXTURE_WIDTH);
  height = levelParameter(GL_TEXTURE_HEIGHT);
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  return rgba;
}

// The pack image decoded to RGBA in stored row order, or flipped.
std::vector<uint8_t> decoded(const std::string& pack, const PackEntry& entry, bool flip) {
  int w = 0, h = 0, channels = 0;
  stbi_set_flip_vertically_on_load(flip);
  stbi_uc* p = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(pack.data()) + entry.offset, entry.size, &w, &h,
                                     &channels, 4);
  stbi_set_flip_vertically_on_load(0);
  std::vector<uint8_t> rgba(p, p + (p ? static_cast<size_t>(w) * h * 4 : 0));
  stbi_image_free(p);
  return rgba;
}

}  // namespace

class ShippedPack : public GlTest {};

TEST_F(ShippedPack, EverySlotLoadsItsPictureTheWayUpAndWithTheWrapItsScenesNeed) {
  const std::string pack = fileBytes("./data.vx");
  ASSERT_EQ(pack.size(), static_cast<size_t>(packFileSize)) << "build the pack first";
  packTextures.clear();
  captureStdout(loadPackImages);
  ASSERT_EQ(packTextures.size(), 29u);
  // Bubbles, greetings, logo, captions, credits and the blank behind the credits sit at the
  // picture's edge: they clamp. The blank of slot 6 repeats; the rest keep GL's repeat.
  const std::set<size_t> clamped = {10, 12, 13, 14, 19, 20, 21, 22, 23, 24, 25, 26};
  int asymmetric = 0;
  for (size_t slot = 0; slot < packTextures.size(); ++slot) {
    SCOPED_TRACE("slot " + std::to_string(slot));
    ASSERT_NE(packTextures[slot], 0u);
    int w = 0, h = 0;
    const std::vector<uint8_t> gpu = textureBytes(packTextures[slot], w, h);
    EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_S), clamped.count(slot) ? GL_CLAMP_TO_EDGE : GL_REPEAT);
    const std::string image = packLoadList[slot].image;
    if (image == "blank.png") continue;
    const std::vector<uint8_t> stored = decoded(pack, *findPackEntry(image), false);
    const std::vector<uint8_t> upright = decoded(pack, *findPackEntry(image), true);
    if (stored == upright) continue;
    ++asymmetric;
    // The terrain is a height map read as stored; every other picture is shown upright, its
    // first stored row at the top (t = 1).
    EXPECT_EQ(gpu == stored, slot == 0) << image;
    EXPECT_EQ(gpu == upright, slot != 0) << image;
  }
  EXPECT_GE(asymmetric, 15);
  packTextures.clear();
}

TEST_F(PackLoader, FifoPackDoesNotOpenAndIsNotWaitedOn) {
  const std::string fifo = (dir.path() / "fifo.vx").string();
  const std::string expected = "loading resource: overlay.pngoffset: 149483\ncould not open resource overlay.png\n";
  uint32_t texture = 1;
  packFilePath = fifo.c_str();
  std::string output;
  EXPECT_FALSE(waitsOnFifo(fifo, [&] {
    output = captureStdout([&] { texture = loadPackTexture(false, false, false, "overlay.png"); });
  }));
  EXPECT_EQ(output, expected);
  EXPECT_EQ(texture, 0u);
}

// The header alone refuses a side over 8192, more pixels than the entry's bytes can hold, or a
// scan that uses an undefined Huffman table.
TEST_F(PackLoader, HeadersNoPackImageCanHaveAreRefusedAsDecodeFailures) {
  struct Case {
    const char* name;
    std::string image;
    int width;  // of level 0: the image's own, or the stand-in's single texel
  };
  const std::vector<Case> cases = {{"border1.png", blackPng(8192, 1), 8192},
                                   {"border2.png", blackPng(8193, 1), 1},
                                   {"credits1.png", jpegDeclaring(1024), 1024},
                                   {"endlogo.png", jpegDeclaring(2048), 1},
                                   {"credits2.png", jpegScanningAnUndefinedTable(), 1}};
  std::vector<std::pair<const char*, std::string>> images;
  for (const Case& c : cases) images.emplace_back(c.name, c.image);
  dir.write("data.vx", packWith(images));
  for (const Case& c : cases) {
    const std::string output = captureStdout([&] { loadPackTexture(false, false, false, c.name); });
    EXPECT_EQ(output.find("could not decode resource") != std::string::npos, c.width == 1) << output;
    EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH), c.width) << c.name;
  }
}
