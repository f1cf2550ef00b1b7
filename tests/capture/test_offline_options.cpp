// The offline renderer's command line, what --out names, and the frame arithmetic.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "capture/offline_options.h"
#include "tests/support/temp_files.h"

namespace {
ParsedOfflineOptions parse(std::vector<const char*> args) {
  args.insert(args.begin(), "tarvik-render");
  return parseOfflineOptions(static_cast<int>(args.size()), args.data());
}
}  // namespace

TEST(OfflineOptions, DefaultsAndOverrides) {
  const auto stills = parse({"--time", "30,60.5,255", "--out", "dir"});
  ASSERT_TRUE(stills.options) << stills.outcome.text;
  EXPECT_EQ(stills.options->kind, OutputKind::frames);
  EXPECT_EQ(stills.options->times, (std::vector<double>{30.0, 60.5, 255.0}));
  const auto oneFrame = parse({"--from", "10", "--to", "10", "--out", "d/"});  // a folder keeps the frame at --to
  EXPECT_TRUE(oneFrame.options) << oneFrame.outcome.text;
  const auto span = parse({"--from", "1", "--to", "2.5", "--out", "a.mp4", "--size", "320x180", "--quality", "low",
                           "--render", "64", "--fps", "30", "--no-sound", "--crf", "30", "--preset", "fast"});
  ASSERT_TRUE(span.options) << span.outcome.text;
  const OfflineOptions& o = *span.options;
  EXPECT_TRUE(o.range);
  EXPECT_EQ(std::make_tuple(o.width, o.height, o.quality, o.renderSize, o.fps), std::make_tuple(320, 180, 0, 64, 30.0));
  EXPECT_EQ(std::make_tuple(o.sound, o.crf, o.preset), std::make_tuple(false, 30, std::string("fast")));
}

TEST(OfflineOptions, EachMistakeIsOneLinePointingAtHelp) {
  const std::vector<std::pair<std::vector<const char*>, std::string>> cases = {
      {{"--time", "10"}, "missing --out"},
      {{"--time", "260", "--out", "x.png"}, "not times from 0 to 259 seconds: 260"},
      {{"--time", "1", "--out", "x.png", "--fps", "1e-300"}, "--fps: not a number from 1 to 1000: 1e-300"},
      {{"--from", "nan", "--to", "10", "--out", "x.wav"}, "--from: not a number from 0 to 259: nan"},
      {{"--from", "1", "--to", "inf", "--out", "d/"}, "--to: not a number from 0 to 259: inf"},
      {{"--time", "1,nan", "--out", "d/"}, "not times from 0 to 259 seconds: 1,nan"},
      {{"--bench", "--render", "0"}, "--render: not a whole number from 1 to 4096: 0"},
      {{"--bench", "--frames", "1.5"}, "--frames: not a whole number from 1 to 1000: 1.5"},
      {{"--from", "10.001", "--to", "10.002", "--out", "d/"}, "the span from --from to --to holds no frame"},
      {{"--from", "3", "--to", "2", "--out", "d"}, "--to comes before --from"},
      {{"--from", "1", "--to", "1", "--out", "a.mkv"}, "the span from --from to --to holds no frame"},
      {{"--out", "d"}, "missing --time (or --from/--to)"},
      {{"--time", "1", "--out", "x.jpg"}, "cannot tell what to write from x.jpg: --out takes NAME.png, a folder DIR/"},
      {{"--time", "1", "--out", "d/.PNG"}, "--out d/.PNG is only an extension: name the file, as in NAME.PNG"},
      {{"--time", "1,2", "--out", "x.png"}, "several times need a folder"},
      {{"--from", "1", "--to", "2", "--out", "x.png"}, "a span needs a folder"},
      {{"--time", "1", "--out", "x.mp4"}, "a video or sound file needs --from and --to"},
      {{"--from", "1", "--to", "2", "--out", "x.mkv", "--crf", "20"}, "--crf and --preset set the .mp4 encoder only"},
      {{"--from", "1", "--to", "2", "--out", "x.mp4", "--size", "65x36"}, "an .mp4 needs an even width and height"},
      {{"--bench", "--time", "3"}, "excludes"},
  };
  for (const auto& [args, message] : cases) {
    const auto parsed = parse(args);
    EXPECT_FALSE(parsed.options) << message;
    EXPECT_EQ(parsed.outcome.status, 1) << message;
    const std::string& line = parsed.outcome.text;
    EXPECT_EQ(line.rfind("tarvik-render: ", 0), 0u) << line;
    EXPECT_NE(line.find(message), std::string::npos) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    EXPECT_NE(line.find("(see tarvik-render --help)"), std::string::npos) << line;
  }
}

TEST(OfflineOptions, OutputKindFollowsTheName) {
  TempDir dir;
  const std::string existing = (dir.path() / "shots.v2").string();
  std::filesystem::create_directory(existing);
  const std::vector<std::pair<std::string, std::optional<OutputKind>>> cases = {
      {"a.png", OutputKind::still},  {"A.PNG", OutputKind::still}, {"d/", OutputKind::frames},
      {"new/d", OutputKind::frames}, {existing, OutputKind::frames}, {"x.mp4", OutputKind::mp4},
      {"x.MKV", OutputKind::mkv},    {"x.wav", OutputKind::wav},   {"x.jpg", std::nullopt},
      {"x.avi", std::nullopt},       {".mp4", std::nullopt},
  };
  for (const auto& [out, kind] : cases) EXPECT_EQ(outputKindOf(out), kind) << out;
}
