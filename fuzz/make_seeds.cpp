// Writes the seed corpora of the fuzz targets from our own generated files: the pack's entries
// and small crops of their pictures, the music cut short, tones we write, the shader files and
// the tools' command lines.
// Usage: make_seeds SOURCE_DIR OUT_DIR; OUT_DIR/<target>/ gets one file per seed.
// Needs SOURCE_DIR/data.vx and SOURCE_DIR/music/tarvik.mp3 (the main build generates them).
#include <sndfile.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#pragma GCC diagnostic pop

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "resources/pack_directory.h"
#include "resources/pack_image.h"

namespace fs = std::filesystem;

namespace {

bool readWhole(const fs::path& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  out.assign(std::istreambuf_iterator<char>(in), {});
  return in.good() || in.eof();
}

void writeSeed(const fs::path& folder, const std::string& name, const std::string& bytes) {
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary) << bytes;
}

void appendBytes(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

// A 24 x 24 corner of a decoded entry, written as PNG and as JPEG: whole images that decode
// in a moment, so the fuzzer gets through many of them.
void writeCrops(const fs::path& out, const std::string& name, const std::string& entry) {
  const PackImage image =
      decodePackImage(reinterpret_cast<const unsigned char*>(entry.data()), entry.size(), false);
  if (!image.pixels) return;
  const int side = std::min({24, image.width, image.height});
  const int channels = image.channels;
  std::vector<unsigned char> crop;
  for (int y = 0; y < side; ++y) {
    const unsigned char* row = image.pixels.get() + static_cast<size_t>(y) * image.width * channels;
    crop.insert(crop.end(), row, row + static_cast<size_t>(side) * channels);
  }
  std::string png, jpeg;
  stbi_write_png_to_func(appendBytes, &png, side, side, channels, crop.data(), side * channels);
  stbi_write_jpg_to_func(appendBytes, &jpeg, side, side, channels, crop.data(), 90);
  writeSeed(out, "crop_" + name + ".png", png);
  writeSeed(out, "crop_" + name + ".jpg", jpeg);
}

bool packSeeds(const fs::path& source, const fs::path& out) {
  std::string pack;
  if (!readWhole(source / "data.vx", pack) || pack.size() != static_cast<size_t>(packFileSize)) return false;
  for (const PackEntry& entry : packDirectory) {
    const std::string bytes = pack.substr(entry.offset, entry.size);
    writeSeed(out, entry.name, bytes);
    writeCrops(out, entry.name, bytes);
  }
  return true;
}

// A second of the track from its start and one from its middle: enough frames to decode,
// small enough to mutate quickly.
bool mp3Seeds(const fs::path& source, const fs::path& out) {
  std::string music;
  constexpr size_t cut = 16384;
  if (!readWhole(source / "music/tarvik.mp3", music) || music.size() < 4 * cut) return false;
  writeSeed(out, "start.mp3", music.substr(0, cut));
  writeSeed(out, "middle.mp3", music.substr(music.size() / 2, cut));
  return true;
}

// A short two-tone chord in each file format and sample format libsndfile reads for us.
bool soundSeeds(const fs::path& out) {
  struct Format {
    const char* name;
    int format;
    int rate;
    int channels;
  };
  const Format formats[] = {
      {"pcm16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2},
      {"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 1},
      {"ima_adpcm.wav", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 22050, 2},
      {"pcm24.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 32000, 2},
      {"pcm16.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 44100, 2},
      {"vorbis.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 44100, 1},
  };
  fs::create_directories(out);
  for (const Format& f : formats) {
    SF_INFO info{};
    info.samplerate = f.rate;
    info.channels = f.channels;
    info.format = f.format;
    if (!sf_format_check(&info)) continue;
    SNDFILE* file = sf_open((out / f.name).c_str(), SFM_WRITE, &info);
    if (!file) return false;
    std::vector<float> frames(static_cast<size_t>(f.rate / 50) * f.channels);
    for (size_t i = 0; i < frames.size(); ++i) {
      const double t = static_cast<double>(i / f.channels) / f.rate;
      frames[i] = static_cast<float>(0.3 * std::sin(2 * std::numbers::pi * 440 * t) +
                                     0.2 * std::sin(2 * std::numbers::pi * 660 * t));
    }
    sf_writef_float(file, frames.data(), static_cast<sf_count_t>(frames.size() / f.channels));
    sf_close(file);
  }
  return true;
}

// Each shader file alone (the first of the target's two files), and each scene file paired
// with a library file, the two including each other and themselves.
bool shaderSeeds(const fs::path& source, const fs::path& out) {
  int index = 0;
  std::string lib;
  readWhole(source / "shaders/lib/hsv.glsl", lib);
  for (const auto& item : fs::recursive_directory_iterator(source / "shaders")) {
    if (item.path().extension() != ".glsl") continue;
    std::string text;
    if (!readWhole(item.path(), text)) return false;
    writeSeed(out, "alone_" + std::to_string(index), text);
    if (item.path().parent_path().filename() == "scenes")
      writeSeed(out, "pair_" + std::to_string(index),
                "#include \"./shaders/lib/fuzz_b.glsl\"\n" + text + std::string(1, '\0') +
                    "#include \"./shaders/scenes/fuzz_a.glsl\"\n#include \"./shaders/lib/fuzz_b.glsl\"\n" + lib);
    ++index;
  }
  return index > 0;
}

// Command lines the tools' help describes, one word a line, as a user would type them.
void commandLineSeeds(const fs::path& out) {
  const char* const lines[] = {
      "--time\n12.5\n--out\nstill.png",
      "--time\n1,2.5,200\n--out\nframes/\n--size\n320x180\n--quality\nlow",
      "--from\n10\n--to\n20\n--out\nclip.mp4\n--fps\n30\n--crf\n23\n--preset\nfast",
      "--from\n0\n--to\n259\n--out\nmaster.mkv\n--simulate\nfull\n--no-sound\n--quiet",
      "--from\n5\n--to\n6\n--out\nsound.wav\n--verbose",
      "--bench\n--quality\nhigh\n--render\n256\n--frames\n5\n--csv\nb.csv",
      "--part\n3\nmode=high",
      "--start\n100.5\n--render\n512\nmode=low",
      "--help",
  };
  int index = 0;
  for (const char* line : lines) writeSeed(out, "line_" + std::to_string(index++), line);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_seeds SOURCE_DIR OUT_DIR\n");
    return 1;
  }
  const fs::path source = argv[1];
  const fs::path out = argv[2];
  if (!packSeeds(source, out / "pack_image") || !mp3Seeds(source, out / "mp3_decode")) {
    std::fprintf(stderr, "make_seeds: %s/data.vx or %s/music/tarvik.mp3 is missing: build the project first\n",
                 argv[1], argv[1]);
    return 1;
  }
  if (!soundSeeds(out / "sndfile_decode") || !shaderSeeds(source, out / "shader_includes")) {
    std::fprintf(stderr, "make_seeds: could not write the sound or shader seeds under %s\n", argv[2]);
    return 1;
  }
  commandLineSeeds(out / "command_line");
  return 0;
}
