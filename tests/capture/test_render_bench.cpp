// The frame benchmark's options and its table.
#include <gtest/gtest.h>

#include "capture/render_bench.h"

TEST(RenderBench, OptionsAndTheSwitch) {
  const char* args[] = {"tarvik-render", "--bench", "--quality", "low", "--size", "320x180", "--frames", "5"};
  EXPECT_TRUE(wantsRenderBench(8, args));
  EXPECT_FALSE(wantsRenderBench(3, args + 2));
  std::string error;
  const auto options = parseBenchOptions(8, args, error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->quality, 0);
  EXPECT_EQ(options->width, 320);
  EXPECT_EQ(options->height, 180);
  EXPECT_EQ(options->frames, 5);
  const char* bad[] = {"tarvik-render", "--bench", "--frames", "0"};
  EXPECT_FALSE(parseBenchOptions(4, bad, error));
  const char* unknown[] = {"tarvik-render", "--bench", "--out", "x.png"};
  EXPECT_FALSE(parseBenchOptions(4, unknown, error));
}

TEST(RenderBench, TableSumsPassesAndShowsTheOverheadOfTheWallTime) {
  const std::vector<PartTiming> parts = {
      {"One", {{"scene", 3.0}, {"bloom", 1.0}, {"composite", 0.5}}, 5.0},
      {"Two", {{"scene", 8.0}, {"composite", 1.0}}, 9.0},
  };
  const std::string table = benchTable(parts);
  EXPECT_NE(table.find("scene                3.00      8.00\n"), std::string::npos) << table;
  EXPECT_NE(table.find("bloom                1.00         -\n"), std::string::npos) << table;
  EXPECT_NE(table.find("GPU sum              4.50      9.00\n"), std::string::npos) << table;
  EXPECT_NE(table.find("wall / frame         5.00      9.00\n"), std::string::npos) << table;
  EXPECT_NE(table.find("overhead ms          0.50      0.00\n"), std::string::npos) << table;
  EXPECT_NE(table.find("overhead %          10.00      0.00\n"), std::string::npos) << table;
}
