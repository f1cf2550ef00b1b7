// The offline renderer's option parse and frame arithmetic.
#include <gtest/gtest.h>

#include <vector>

#include "capture/offline_options.h"

namespace {
std::optional<OfflineOptions> parse(std::vector<const char*> args, std::string& error) {
  args.insert(args.begin(), "tarvik-render");
  return parseOfflineOptions(static_cast<int>(args.size()), args.data(), error);
}
std::string errorOf(std::vector<const char*> args) {
  std::string error;
  EXPECT_FALSE(parse(args, error).has_value());
  return error;
}
}  // namespace

TEST(OfflineOptions, StillWithDefaults) {
  std::string error;
  const auto o = parse({"--time", "10", "--out", "x.png"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_FALSE(o->range);
  EXPECT_EQ(o->time, 10.0);
  EXPECT_EQ(o->width, 1280);
  EXPECT_EQ(o->height, 720);
  EXPECT_EQ(o->quality, 1);
  EXPECT_EQ(o->fps, 60.0);
  EXPECT_EQ(o->renderSize, 0);
}

TEST(OfflineOptions, RangeAndOverrides) {
  std::string error;
  const auto o = parse({"--from", "1", "--to", "2.5", "--out", "dir", "--size", "320x180", "--quality", "low",
                        "--render", "64", "--fps", "30"},
                       error);
  ASSERT_TRUE(o) << error;
  EXPECT_TRUE(o->range);
  EXPECT_EQ(o->width, 320);
  EXPECT_EQ(o->height, 180);
  EXPECT_EQ(o->quality, 0);
  EXPECT_EQ(o->renderSize, 64);
  EXPECT_EQ(o->fps, 30.0);
}

TEST(OfflineOptions, BadInputIsOneClearLine) {
  EXPECT_EQ(errorOf({"--time", "10"}), "missing --out");
  EXPECT_EQ(errorOf({"--time", "260", "--out", "x.png"}), "time outside 0 to 259 seconds");
  EXPECT_EQ(errorOf({"--time", "-1", "--out", "x.png"}), "time outside 0 to 259 seconds");
  EXPECT_EQ(errorOf({"--time", "ten", "--out", "x.png"}), "bad value for --time: ten");
  EXPECT_EQ(errorOf({"--time", "1", "--out", "x.png", "--size", "320"}), "bad value for --size: 320");
  EXPECT_EQ(errorOf({"--time", "1", "--out", "x.png", "--quality", "ultra"}), "bad value for --quality: ultra");
  EXPECT_EQ(errorOf({"--time", "1", "--out", "x.png", "--fps", "0"}), "bad value for --fps: 0");
  EXPECT_EQ(errorOf({"--time", "1", "--out", "x.png", "--verbose", "1"}), "unknown option --verbose");
  EXPECT_EQ(errorOf({"--time", "1", "--out"}), "missing value for --out");
  EXPECT_EQ(errorOf({"--from", "3", "--to", "2", "--out", "d"}), "--to comes before --from");
  EXPECT_EQ(errorOf({"--from", "3", "--out", "d"}), "--from and --to go together");
  EXPECT_EQ(errorOf({"--out", "d"}), "missing --time (or --from/--to)");
}

TEST(OfflineOptions, FrameNumbersFollowTheFrameClock) {
  EXPECT_EQ(frameAtOrBefore(10.0, 60.0), 600);
  EXPECT_EQ(frameAtOrAfter(10.0, 60.0), 600);
  EXPECT_EQ(frameAtOrBefore(0.1, 30.0), 3);
  EXPECT_EQ(frameAtOrBefore(10.01, 60.0), 600);
  EXPECT_EQ(frameAtOrAfter(10.01, 60.0), 601);
  EXPECT_EQ(frameAtOrBefore(259.0, 60.0), 15540);
}
