// The generated resource pack: exact tiling, deterministic bytes, every image decodable as
// RGB or RGBA, and each picture drawn for where the scenes show it.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>

#include "resources/pack_directory.h"
#include "tests/support/process_runner.h"
#include "tests/support/temp_files.h"
#include "tools/make_pack/encode.h"

namespace {

// The pack that the build generated beside the sources (tests run in the source root).
const std::string shippedPack = "./data.vx";

}  // namespace

TEST(PackContent, GenerationIsDeterministic) {
  TempDir other;
  const std::string again = (other.path() / "again.vx").string();
  const ProcessResult r = runProcess({builtProgram("make_pack"), again}, other.path().string(), {}, 0, 120);
  ASSERT_TRUE(r.exited && r.exitStatus == 0) << r.output;
  EXPECT_TRUE(fileBytes(again) == fileBytes(shippedPack));
}

namespace {

struct Decoded {
  int width = 0, height = 0, channels = 0;
  std::vector<uint8_t> pixels;
  int at(int x, int y, int c) const { return pixels[(static_cast<size_t>(y) * width + x) * channels + c]; }
};

// Decodes with the image's own channel count, rows top to bottom as stored.
Decoded decode(const unsigned char* data, size_t size) {
  Decoded d;
  stbi_set_flip_vertically_on_load(0);
  stbi_uc* p = stbi_load_from_memory(data, static_cast<int>(size), &d.width, &d.height, &d.channels, 0);
  if (!p) return {};
  d.pixels.assign(p, p + static_cast<size_t>(d.width) * d.height * d.channels);
  stbi_image_free(p);
  return d;
}


// Every directory image of the generated pack, decoded once.
const std::map<std::string, Decoded>& packImages() {
  static const std::map<std::string, Decoded> images = [] {
    std::map<std::string, Decoded> out;
    const std::string pack = fileBytes(shippedPack);
    if (pack.size() != static_cast<size_t>(packFileSize)) return out;
    for (const PackEntry& row : packDirectory)
      out[row.name] = decode(reinterpret_cast<const unsigned char*>(pack.data()) + row.offset, row.size);
    return out;
  }();
  return images;
}

const Decoded& image(const std::string& name) {
  static const Decoded none;
  const auto it = packImages().find(name);
  return it == packImages().end() ? none : it->second;
}

// Rows (top to bottom) that hold any pixel with alpha above `threshold` (RGBA) or any lit
// red (RGB).
std::vector<int> inkedRows(const Decoded& d, int threshold) {
  std::vector<int> rows;
  const int channel = d.channels == 4 ? 3 : 0;
  for (int y = 0; y < d.height; ++y)
    for (int x = 0; x < d.width; ++x)
      if (d.at(x, y, channel) > threshold) {
        rows.push_back(y);
        break;
      }
  return rows;
}

}  // namespace

// Entries back to back, each a colour image with its signature, with rows that meet GL's
// default 4-byte upload alignment (the loader keeps it, so other widths would upload skewed).
TEST(PackContent, EntriesTileThePackAndEachIsAWellFormedColourImage) {
  const std::string pack = fileBytes(shippedPack);
  ASSERT_EQ(pack.size(), static_cast<size_t>(packFileSize));
  int end = 0;
  for (const PackEntry& row : packDirectory) {
    EXPECT_EQ(row.offset, end) << row.name;
    end = row.offset + row.size;
    const auto* entry = reinterpret_cast<const unsigned char*>(pack.data()) + row.offset;
    const bool jpeg = fileKindOf(row.name) == FileKind::Jpeg;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry), jpeg ? 3 : 8), jpeg ? "\xFF\xD8\xFF" : "\x89PNG\r\n\x1A\n");
    const Decoded& d = image(row.name);
    EXPECT_GT(d.width, 0) << row.name << " does not decode";
    EXPECT_TRUE(d.channels == 3 || d.channels == 4) << row.name;
    EXPECT_EQ(d.width * d.channels % 4, 0) << row.name;
  }
  EXPECT_EQ(end, packFileSize);
  EXPECT_EQ(image("tarviklogo1080p.png").width, 1920);
  EXPECT_EQ(image("tarviklogo1080p.png").height, 1080);
}

// The end part shows the image rows between 45 % and 55 % of its height only.
TEST(PackContent, EndLogoLiesInTheBandTheEndPartShows) {
  const Decoded& d = image("endlogo.png");
  ASSERT_EQ(d.channels, 3);
  const std::vector<int> rows = inkedRows(d, 24);
  ASSERT_FALSE(rows.empty());
  EXPECT_GE(rows.front(), static_cast<int>(d.height * 0.45f));
  EXPECT_LE(rows.back(), static_cast<int>(std::ceil(d.height * 0.55f)));
}
