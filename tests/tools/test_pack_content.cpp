// The generated resource pack: exact tiling, deterministic bytes, every image decodable as
// RGB or RGBA and well formed after its padding, and each picture drawn for where the scenes
// show it.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>

#include "resources/pack_directory.h"
#include "tests/support/process_runner.h"
#include "tests/support/temp_files.h"
#include "tools/make_pack/encode.h"

namespace {

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The pack that the build generated beside the sources (tests run in the source root).
const std::string shippedPack = "./data.vx";

}  // namespace

TEST(PackContent, GenerationIsDeterministic) {
  TempDir other;
  const std::string again = (other.path() / "again.vx").string();
  const ProcessResult r = runProcess({builtProgram("make_pack"), again}, other.path().string(), {}, 0, 120);
  ASSERT_TRUE(r.exited && r.exitStatus == 0) << r.output;
  EXPECT_TRUE(readBytes(again) == readBytes(shippedPack));
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
    const std::string pack = readBytes(shippedPack);
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

uint32_t bigEndian32(const unsigned char* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// Walks the chunks: CRCs hold, IHDR comes first with an RGB or RGBA colour type, IEND ends
// exactly at the entry's last byte.
std::string pngProblem(const unsigned char* file, size_t size) {
  size_t at = 8;
  bool first = true;
  while (at + 12 <= size) {
    const uint32_t length = bigEndian32(file + at);
    if (at + 12 + length > size) return "chunk runs past the entry at " + std::to_string(at);
    const std::string type(reinterpret_cast<const char*>(file + at + 4), 4);
    if (crc32(file + at + 4, 4 + length) != bigEndian32(file + at + 8 + length)) return "bad CRC in " + type;
    if (first && (type != "IHDR" || (file[at + 17] != 2 && file[at + 17] != 6))) return "IHDR missing or not colour";
    first = false;
    at += 12 + length;
    if (type == "IEND") return at == size ? "" : "bytes after IEND";
  }
  return "no IEND";
}

// SOI first, EOI last, and the marker segments chain up to the scan.
std::string jpegProblem(const unsigned char* file, size_t size) {
  if (size < 4 || file[0] != 0xFF || file[1] != 0xD8) return "no SOI";
  if (file[size - 2] != 0xFF || file[size - 1] != 0xD9) return "does not end with EOI";
  size_t at = 2;
  while (at + 4 <= size) {
    if (file[at] != 0xFF) return "segment chain broken at " + std::to_string(at);
    if (file[at + 1] == 0xDA) return "";
    at += 2 + ((size_t{file[at + 2]} << 8) | file[at + 3]);
  }
  return "no scan";
}

// Mean absolute red difference between columns a and b (or rows, when `rows`).
double lineDifference(const Decoded& d, int a, int b, bool rows) {
  double sum = 0.0;
  const int n = rows ? d.width : d.height;
  for (int i = 0; i < n; ++i)
    sum += rows ? std::abs(d.at(i, a, 0) - d.at(i, b, 0)) : std::abs(d.at(a, i, 0) - d.at(b, i, 0));
  return sum / n;
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

// Entries back to back, each a whole colour image after its padding, with rows that meet GL's
// default 4-byte upload alignment (the loader keeps it, so other widths would upload skewed).
TEST(PackContent, EntriesTileThePackAndEachIsAWellFormedColourImage) {
  const std::string pack = readBytes(shippedPack);
  ASSERT_EQ(pack.size(), static_cast<size_t>(packFileSize));
  int end = 0;
  for (const PackEntry& row : packDirectory) {
    EXPECT_EQ(row.offset, end) << row.name;
    end = row.offset + row.size;
    const auto* entry = reinterpret_cast<const unsigned char*>(pack.data()) + row.offset;
    const bool jpeg = fileKindOf(row.name) == FileKind::Jpeg;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry), jpeg ? 3 : 8), jpeg ? "\xFF\xD8\xFF" : "\x89PNG\r\n\x1A\n");
    const std::string problem = jpeg ? jpegProblem(entry, row.size) : pngProblem(entry, row.size);
    EXPECT_EQ(problem, "") << row.name;
    const Decoded& d = image(row.name);
    EXPECT_GT(d.width, 0) << row.name << " does not decode";
    EXPECT_TRUE(d.channels == 3 || d.channels == 4) << row.name;
    EXPECT_EQ(d.width * d.channels % 4, 0) << row.name;
  }
  EXPECT_EQ(end, packFileSize);
  EXPECT_EQ(image("tarviklogo1080p.png").width, 1920);
  EXPECT_EQ(image("tarviklogo1080p.png").height, 1080);
}

TEST(PackContent, SurfaceTexturesRepeatWithoutSeams) {
  for (const char* name : {"DirtRockTerrain.jpg", "cube.jpg"}) {
    const Decoded& d = image(name);
    ASSERT_GT(d.width, 8) << name;
    const double inside = (lineDifference(d, d.width / 2, d.width / 2 + 1, false) +
                           lineDifference(d, d.height / 2, d.height / 2 + 1, true)) / 2.0;
    EXPECT_LT(lineDifference(d, 0, d.width - 1, false), 3.0 * inside + 4.0) << name << " left/right seam";
    EXPECT_LT(lineDifference(d, 0, d.height - 1, true), 3.0 * inside + 4.0) << name << " top/bottom seam";
  }
  // The terrain reads its height from red, so red must use most of its range.
  const Decoded& terrain = image("DirtRockTerrain.jpg");
  int lo = 255, hi = 0;
  for (size_t i = 0; i < terrain.pixels.size(); i += 3) {
    lo = std::min<int>(lo, terrain.pixels[i]);
    hi = std::max<int>(hi, terrain.pixels[i]);
  }
  EXPECT_GT(hi - lo, 160);
}

// The end part shows the image rows between 45 % and 55 % of its height only.
TEST(PackContent, EndLogoLiesInTheBandTheEndPartShows) {
  const Decoded& d = image("endlogo.png");
  ASSERT_EQ(d.channels, 3);
  const std::vector<int> rows = inkedRows(d, 24);
  ASSERT_FALSE(rows.empty());
  EXPECT_GE(rows.front(), static_cast<int>(d.height * 0.45f));
  EXPECT_LE(rows.back(), static_cast<int>(std::ceil(d.height * 0.55f)));
  // Both strips (above and below the hidden rows at 48.75 % to 50 %) carry part of the logo.
  const auto inked = [&](float from, float to) {
    return std::any_of(rows.begin(), rows.end(), [&](int y) { return y > d.height * from && y < d.height * to; });
  };
  EXPECT_TRUE(inked(0.452f, 0.4875f));
  EXPECT_TRUE(inked(0.5f, 0.549f));
}

// The walker above checks CRCs with the generator's own function: it must be the standard one.
TEST(PackPadding, Crc32MatchesTheStandardCheckValue) {
  const unsigned char digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(crc32(digits, sizeof digits), 0xCBF43926u);
}
