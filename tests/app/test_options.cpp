// Command-line parse: exact spellings, later overrides, the line an unknown mode gets, and the
// sizes each level selects.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "app/options.h"
#include "tests/support/gl_context.h"

namespace {
DisplaySettings parse(std::vector<const char*> args) {
  args.insert(args.begin(), "tarvik");
  return parseOptions(static_cast<int>(args.size()), args.data());
}
}  // namespace

TEST(Options, OnlyTheExactWordSelectsWindowed) {
  EXPECT_TRUE(parse({"windowed"}).windowed);
  EXPECT_FALSE(parse({"Windowed"}).windowed);
  EXPECT_FALSE(parse({"windowed=1"}).windowed);
  EXPECT_FALSE(parse({"--windowed"}).windowed);
}

TEST(Options, ModeValuesAndOverrides) {
  EXPECT_EQ(parse({"mode=low"}).quality, 0);
  EXPECT_EQ(parse({"mode=high"}).quality, 2);
  EXPECT_EQ(parse({"mode=ultra"}).quality, 1);
  const std::string said = captureStdout([] { EXPECT_EQ(parse({"mode=low", "mode=ultra"}).quality, 0); });
  EXPECT_EQ(said, "mode=ultra: unknown mode \"ultra\" (low, medium or high), using low\n");
  EXPECT_EQ(parse({"mode=low", "mode=high"}).quality, 2);
  EXPECT_EQ(parse({"xmode=high"}).quality, 1);  // its value is "=high"
  EXPECT_EQ(parse({"mode="}).quality, 1);
  EXPECT_EQ(parse({"--mode=low"}).quality, 1);  // value "=low"
}

TEST(Options, DefaultsToMediumFullscreenAndSizesPerLevel) {
  const DisplaySettings medium = parse({});
  EXPECT_FALSE(medium.windowed);
  EXPECT_EQ(std::make_tuple(medium.quality, medium.renderWidth, medium.renderHeight), std::make_tuple(1, 768, 768));
  const DisplaySettings low = parse({"mode=low", "windowed"});
  EXPECT_TRUE(low.windowed);
  EXPECT_EQ(std::make_tuple(low.renderWidth, low.renderHeight), std::make_tuple(512, 512));
  EXPECT_EQ(windowedSizeForQuality(0).width, 896);
  EXPECT_EQ(windowedSizeForQuality(0).height, 504);
  EXPECT_EQ(windowedSizeForQuality(1).width, 1280);
  EXPECT_EQ(windowedSizeForQuality(2).height, 864);
  EXPECT_EQ(parse({"mode=high"}).renderWidth, 1280);
}

TEST(Options, ParseCommandLinePublishesTheQualityCopy) {
  const char* args[] = {"tarvik", "mode=low"};
  parseCommandLine(2, args);
  EXPECT_EQ(settings.quality, 0);
  EXPECT_EQ(qualityCopy, 0);
  EXPECT_EQ(settings.renderWidth, 512);
}
