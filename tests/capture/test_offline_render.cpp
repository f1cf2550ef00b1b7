// tarvik-render end to end: the PNG it writes, determinism, the closing line and the hidden
// start-up transcript, folders made for frames, and the frame benchmark with its CSV and comparison
// (a report that cannot be written is an error).
#include <gtest/gtest.h>
#include <stb_image.h>

#include <filesystem>

#include "tests/support/process_runner.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

TEST(OfflineRender, WritesTheRequestedSizeAndRepeatsItself) {
  TempDir dir;
  const std::string first = (dir.path() / "a.png").string(), second = (dir.path() / "b.png").string();
  const ProcessResult a = runRenderer({"--time", "10", "--out", first, "--size", "320x180", "--quality", "low"});
  ASSERT_EQ(a.exitStatus, 0) << a.output;
  EXPECT_EQ(a.output, "wrote " + first + " (320x180, 1 frame at 10 s)\n") << "no transcript without --verbose";
  int w = 0, h = 0, channels = 0;
  stbi_uc* pixels = stbi_load(first.c_str(), &w, &h, &channels, 0);
  ASSERT_NE(pixels, nullptr);
  stbi_image_free(pixels);
  EXPECT_EQ(w, 320);
  EXPECT_EQ(h, 180);
  const ProcessResult b =
      runRenderer({"--time", "10", "--out", second, "--size", "320x180", "--quality", "low", "--verbose"});
  ASSERT_EQ(b.exitStatus, 0) << b.output;
  EXPECT_NE(b.output.find("LOAD INTRO\n"), std::string::npos) << b.output;
  EXPECT_EQ(fileBytes(first), fileBytes(second));
  EXPECT_FALSE(fs::exists(first + ".part"));
}

TEST(OfflineRender, RangeWritesNumberedFramesIntoANewFolder) {
  TempDir dir;
  const std::string frames = (dir.path() / "new/frames/").string();
  const ProcessResult run =
      runRenderer({"--from", "1", "--to", "1.1", "--fps", "30", "--out", frames, "--size", "64x36", "--render", "32"});
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_NE(run.output.find("\nwrote " + frames + " (64x36, 4 frames, 0.1333 s)\n"), std::string::npos) << run.output;
  EXPECT_TRUE(fs::exists(frames + "frame_000030.png"));
  EXPECT_TRUE(fs::exists(frames + "frame_000033.png"));
  EXPECT_EQ(std::distance(fs::directory_iterator(frames), {}), 4);
}

TEST(OfflineRender, BenchmarkMeasuresEveryPartAndCompares) {
  TempDir dir;
  const std::string old = dir.write("old.csv", "part,pass,median_ms,min_ms,max_ms\n1,scene,1000,900,1100\n");
  const std::string csv = (dir.path() / "new.csv").string();
  const ProcessResult run = runRenderer({"--bench", "--frames", "1", "--quality", "low", "--size", "32x18", "--render",
                                    "16", "--csv", csv, "--compare", old});
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  for (const char* part : {"part 1: ", "part 8: ", "song time "})
    EXPECT_NE(run.output.find(part), std::string::npos) << part << "\n" << run.output;
  EXPECT_NE(run.output.find("frame benchmark on "), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("quality low, render 16x16, output 32x18, 1 frame "), std::string::npos);
  EXPECT_NE(run.output.find("total new / old"), std::string::npos) << run.output;
  const std::string rows = fileBytes(csv);
  for (int part = 1; part <= 8; ++part)
    EXPECT_NE(rows.find("\n" + std::to_string(part) + ",wall / frame,"), std::string::npos) << part << "\n" << rows;
  EXPECT_EQ(run.output.find("LOAD INTRO"), std::string::npos) << "no transcript without --verbose";
  // What stdout loses is an error, for the report as for the help.
  EXPECT_EQ(shellOutput(builtProgram("tarvik-render") + " --help 2>&1 >/dev/full; echo $?"),
            "tarvik-render: could not write standard output: No space left on device\n1\n");
}
