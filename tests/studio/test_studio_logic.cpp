// The studio's logic without a window: the key map, loop ranges, the frame grid and speed
// steps, capture names and export ranges, the timeline strip's layout, the shader folder
// watcher (stat first, each change once, FIFOs and folders never read), source maps from assembled text back to files, the
// command line, the overlay's wording and the background export child.
#include <SDL2/SDL_keycode.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "studio/program_rebuild.h"
#include "render/shader_files.h"
#include "render/shader_includes.h"
#include "render/shader_source_builder.h"
#include "studio/keys.h"
#include "studio/options.h"
#include "studio/overlay.h"
#include "studio/timeline_strip.h"
#include "studio/transport.h"
#include "studio/video_export.h"
#include "studio/watch.h"
#include "tests/support/gl_context.h"
#include "tests/support/temp_files.h"

namespace {

namespace fs = std::filesystem;

const DemoTimeline& table() {
  static const DemoTimeline timeline = makeDemoTimeline();
  return timeline;
}

StudioAction key(int32_t keycode, uint16_t modifiers = KMOD_NONE, bool repeat = false) {
  return actionForKey(keycode, modifiers, repeat);
}

StudioCommandLine commandLine(std::vector<const char*> args) {
  args.insert(args.begin(), "tarvik-studio");
  return parseStudioCommandLine(static_cast<int>(args.size()), args.data());
}

}  // namespace

TEST(StudioKeys, OnlySeeksAndStepsRepeatAndModifiersScaleTheSeek) {
  for (const int32_t toggle : {SDLK_SPACE, SDLK_l, SDLK_r, SDLK_p, SDLK_v, SDLK_PAGEDOWN}) {
    EXPECT_NE(key(toggle).command, StudioCommand::None) << toggle;
    EXPECT_EQ(key(toggle, KMOD_NONE, true).command, StudioCommand::None) << "a held toggle does not toggle again";
  }
  EXPECT_FLOAT_EQ(key(SDLK_LEFT).seconds, -1.0f);
  EXPECT_FLOAT_EQ(key(SDLK_RIGHT, KMOD_RSHIFT).seconds, 10.0f);
  EXPECT_FLOAT_EQ(key(SDLK_LEFT, KMOD_LALT).seconds, -0.1f);
  EXPECT_FLOAT_EQ(key(SDLK_RIGHT, KMOD_NONE, true).seconds, 1.0f);
  EXPECT_EQ(key(SDLK_PERIOD, KMOD_NONE, true).command, StudioCommand::StepFrame);
  EXPECT_EQ(key(SDLK_COMMA).part, -1);
  EXPECT_EQ(key(SDLK_KP_5).part, 4);
  EXPECT_EQ(key(SDLK_9).command, StudioCommand::None);
}

TEST(StudioKeys, HelpAndTheCommandLineListEveryKeyAndOption) {
  const StudioCommandLine help = commandLine({"--help"});
  ASSERT_FALSE(help.help.empty());
  for (const KeyHelp& entry : studioKeyHelp()) EXPECT_NE(help.help.find(entry.keys), std::string::npos) << entry.keys;
  for (const char* option : {"--start", "--part", "--render", "mode=low|medium|high"})
    EXPECT_NE(help.help.find(option), std::string::npos) << option;
  EXPECT_EQ(helpLines().size(), studioKeyHelp().size() + 2);
}

TEST(StudioOptions, StartPartQualityRenderSizeAndOneLineErrors) {
  StudioCommandLine line = commandLine({});
  ASSERT_TRUE(line.options);
  EXPECT_EQ(line.options->quality, 1);
  line = commandLine({"--part", "3", "mode=low", "--render", "64"});
  ASSERT_TRUE(line.options) << line.error;
  EXPECT_FLOAT_EQ(line.options->start, 109.766f);
  EXPECT_EQ(line.options->quality, 0);
  EXPECT_EQ(line.options->renderSize, 64);
  line = commandLine({"mode=high", "--start", "12.5"});
  ASSERT_TRUE(line.options) << line.error;
  EXPECT_FLOAT_EQ(line.options->start, 12.5f);
  EXPECT_EQ(line.options->quality, 2);
  for (const std::vector<const char*>& bad :
       {std::vector<const char*>{"--part", "9"}, {"--start", "260"}, {"--start", "abc"}, {"--start", "1", "--part", "2"},
        {"--start", "nan"}, {"--part", "inf"}, {"--render", "nan"}, {"--render", "0"}, {"mode=ultra"}, {"windowed"},
        {"--start"}, {"--bogus"}}) {
    line = commandLine(bad);
    EXPECT_FALSE(line.options) << bad[0];
    EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
    EXPECT_NE(line.error.find("--help"), std::string::npos) << line.error;
  }
}

TEST(StudioLoop, PartLoopsMarkedRangesAndSeeks) {
  LoopState loop;
  toggleLoop(loop, 120.0f, table());
  EXPECT_FLOAT_EQ(loop.start, 109.766f);
  EXPECT_FLOAT_EQ(loop.end, 151.909f);
  EXPECT_FALSE(loopWrap(loop, 151.9f));
  EXPECT_FLOAT_EQ(*loopWrap(loop, 151.909f), 109.766f);
  followSeek(loop, 200.0f, table());
  EXPECT_FLOAT_EQ(loop.start, 197.701f);
  toggleLoop(loop, 255.0f, table());
  EXPECT_FALSE(loopWrap(loop, 300.0f));
  toggleLoop(loop, 255.0f, table());
  EXPECT_FLOAT_EQ(loop.end, 259.0f) << "the last part loops at the end point";
  LoopState range;
  markLoopOut(range, 25.0f, table());
  markLoopIn(range, 30.0f, table());
  toggleLoop(range, 22.0f, table());
  EXPECT_FLOAT_EQ(range.start, 25.0f);
  EXPECT_FLOAT_EQ(range.end, 30.0f);
  EXPECT_FLOAT_EQ(exportRange(range, 120.0f, table()).to, 30.0f) << "a marked range is what exports";
  followSeek(range, 200.0f, table());
  EXPECT_FLOAT_EQ(*loopWrap(range, 30.0f), 25.0f) << "a marked range stays through a seek";
  markLoopIn(range, 25.05f, table());
  EXPECT_FLOAT_EQ(range.start, 0.0f) << "too short a range loops the part";
}

TEST(StudioTransport, FrameGridSpeedsNamesAndExportRanges) {
  EXPECT_FLOAT_EQ(steppedFrameTime(1.0f, 1), 61.0f / 60.0f);
  EXPECT_FLOAT_EQ(steppedFrameTime(1.0f, -1), 59.0f / 60.0f);
  EXPECT_FLOAT_EQ(steppedFrameTime(1.005f, 1), 61.0f / 60.0f) << "off the grid: the next grid point";
  EXPECT_FLOAT_EQ(steppedFrameTime(1.005f, -1), 1.0f);
  EXPECT_FLOAT_EQ(steppedFrameTime(0.0f, -1), 0.0f);
  EXPECT_FLOAT_EQ(steppedFrameTime(demoEndTime, 1), demoEndTime);
  float speed = 1.0f;
  for (const bool faster : {true, true, false, false, false, false, false}) speed = nextSpeed(speed, faster);
  EXPECT_FLOAT_EQ(speed, 0.25f);
  EXPECT_FLOAT_EQ(nextSpeed(2.0f, true), 2.0f);
  EXPECT_FLOAT_EQ(nextSpeed(1.0f, false), 0.5f) << "each step halves or doubles";
  EXPECT_EQ(speedText(0.25f), "1/4x");
  EXPECT_EQ(speedText(2.0f), "2x");
  EXPECT_EQ(stillCaptureName(123.456f), "captures/tarvik_123.46.png");
  EXPECT_EQ(videoCaptureName({120.0f, 130.5f}), "captures/tarvik_120.00-130.50.mp4");
  LoopState loop;
  EXPECT_FLOAT_EQ(exportRange(loop, 120.0f, table()).from, 109.766f);
  EXPECT_FLOAT_EQ(exportRange(loop, 258.0f, table()).to, demoEndTime);
}

TEST(StudioTimelineStrip, ClicksMapToSongTimeAndTheStripShowsPartsTicksLoopAndHead) {
  const TimelineStrip strip = TimelineStrip::forWindow(800, 450);
  EXPECT_GT(strip.top, 400.0f);
  EXPECT_TRUE(strip.contains(400.0f, strip.top + 1.0f));
  EXPECT_FALSE(strip.contains(400.0f, 200.0f));
  EXPECT_NEAR(strip.timeAt(strip.xOf(120.0f)), 120.0f, 1e-3);
  EXPECT_FLOAT_EQ(strip.timeAt(0.0f), 0.0f);
  EXPECT_FLOAT_EQ(strip.timeAt(10000.0f), demoEndTime);
  LoopState loop;
  const std::vector<float> sync = {10.0f, 20.0f, 30.0f};
  const size_t plain = timelineStripRects(strip, table(), sync, loop, 0.0f).size();
  EXPECT_EQ(plain, 1 + table().size() + sync.size() + 1);
  toggleLoop(loop, 120.0f, table());
  const std::vector<OverlayRect> rects = timelineStripRects(strip, table(), sync, loop, 150.0f);
  ASSERT_EQ(rects.size(), plain + 1);
  EXPECT_NEAR(strip.timeAt(rects[1 + table().size()].x), 109.766f, 0.5f) << "the loop's start";
  EXPECT_NEAR(strip.timeAt(rects.back().x + rects.back().width / 2), 150.0f, 0.5f) << "the play head";
  EXPECT_NEAR(strip.timeAt(rects[3].x), table()[2].start, 0.5f) << "part 3's band";
}

TEST(StudioWatch, ReadsOnlyWhatMovedReportsEachChangeOnceAndNeverReadsFifosOrFolders) {
  TempDir dir;
  dir.write("shaders/a.glsl", "void main() {}\n");
  const fs::path b = dir.write("shaders/lib/b.glsl", "float b;\n");
  const fs::file_time_type longAgo = fs::last_write_time(b) - std::chrono::hours(1);
  fs::last_write_time(b, longAgo);
  dir.write("shaders/notes.txt", "not a shader\n");
  ScopedWorkingDir here(dir.path());
  ShaderFolderWatcher watcher("./shaders");
  EXPECT_TRUE(watcher.poll().empty());
  dir.write("shaders/a.glsl", "void main() { }\n");
  dir.write("shaders/notes.txt", "still not a shader\n");
  EXPECT_EQ(watcher.poll(), (ShaderFileChanges{{"shaders/a.glsl", InputFileStatus::ok}}));
  dir.write("shaders/a.glsl", "void main() { }\n");
  EXPECT_TRUE(watcher.poll().empty()) << "the same bytes again";
  dir.write("shaders/lib/b.glsl", "float c;\n");
  fs::last_write_time(b, longAgo);
  EXPECT_TRUE(watcher.poll().empty()) << "same size and time: not read again";
  fs::last_write_time(b, longAgo + std::chrono::minutes(1));
  EXPECT_EQ(watcher.poll(), (ShaderFileChanges{{"shaders/lib/b.glsl", InputFileStatus::ok}}));

  fs::resize_file(dir.write("shaders/big.glsl", ""), maxShaderFileBytes + 1);
  fs::remove(b);
  ASSERT_EQ(::mkfifo(b.c_str(), 0644), 0);
  fs::remove(dir.path() / "shaders/a.glsl");
  const ShaderFileChanges gone = {{"shaders/a.glsl", InputFileStatus::missing},
                                  {"shaders/big.glsl", InputFileStatus::tooLarge},
                                  {"shaders/lib/b.glsl", InputFileStatus::notRegular}};
  EXPECT_EQ(watcher.poll(), gone);  // a blocking open of the FIFO would hang here
  EXPECT_TRUE(watcher.poll().empty()) << "each reported once";
  fs::create_directory(dir.path() / "shaders/a.glsl");
  EXPECT_EQ(watcher.poll(), (ShaderFileChanges{{"shaders/a.glsl", InputFileStatus::folder}}));
  EXPECT_EQ(whyNotReadable("shaders/lib/b.glsl"), "not a regular file; not read");
  EXPECT_EQ(whyNotReadable("shaders/gone.glsl"), "file not found");
  EXPECT_EQ(whyNotReadable("shaders/notes.txt"), "");
}

TEST(StudioSourceMap, CompilerLinesPointIntoTheFilesAnAssemblyRead) {
  TempDir dir;
  ScopedWorkingDir here(dir.path());
  dir.write("shaders/lib/inc.glsl", "#version 140\nfloat a;\nfloat b;\n");
  dir.write("shaders/scenes/s.glsl", "line1\n#include \"./shaders/lib/inc.glsl\"\nline3\n#include \"./shaders/lib/no.glsl\"\n");
  const ShaderSourceBuilder builder =
      ShaderSourceBuilder::replay({{false, "#version 330 core"}, {true, "./shaders/scenes/s.glsl"}}, ShaderFiles::Disk);
  ASSERT_EQ(builder.lines, (std::vector<std::string>{"#version 330 core", "line1", "float a;", "float b;", "line3"}));
  EXPECT_EQ(builder.map.where(1), "<generated>:1");
  EXPECT_EQ(builder.map.where(2), "shaders/scenes/s.glsl:1");
  EXPECT_EQ(builder.map.where(4), "shaders/lib/inc.glsl:3");
  EXPECT_EQ(builder.map.where(5), "shaders/scenes/s.glsl:3");
  EXPECT_EQ(builder.map.where(9), "line 9");
  EXPECT_TRUE(builder.map.files.count("shaders/lib/no.glsl")) << "a missing include is still watched";
  const std::string text = builder.build();
  ASSERT_TRUE(findAssembledSource(text));
  EXPECT_EQ(findAssembledSource(text)->steps.size(), 2u);
  EXPECT_EQ(locateShaderLog("0:4(12): error: syntax error\n\nwarning without place\n", builder.map),
            (std::vector<std::string>{"shaders/lib/inc.glsl:3: error: syntax error", "warning without place"}));
  EXPECT_EQ(locateShaderLog("0(5) : error C0000: x", builder.map)[0], "shaders/scenes/s.glsl:3: error C0000: x");
  EXPECT_EQ(locateShaderLog("ERROR: 0:3: 'b' : redefinition", builder.map)[0],
            "shaders/lib/inc.glsl:2: error: 'b' : redefinition");
}

TEST(StudioOverlay, TimingBlockSaysPausedSpeedExportAndEveryPass) {
  TimingView view;
  view.songTime = 120.5f;
  view.partIndex = 2;
  view.partName = "Tentacles";
  view.partTime = 10.734f;
  view.framesPerSecond = 42.0;
  view.passes = {{"scene", 3.0}, {"bloom", 0.25}, {"composite", 0.5}};
  auto text = [&] {
    std::string all;
    for (const OverlayLine& line : timingLines(view)) all += line.text + "\n";
    return all;
  };
  EXPECT_NE(text().find(" 120.50 s  part 3 Tentacles  +10.73 s"), std::string::npos) << text();
  EXPECT_NE(text().find("42.0 fps"), std::string::npos) << text();
  EXPECT_NE(text().find("GPU   3.75 ms"), std::string::npos) << text();
  EXPECT_LT(text().find("scene"), text().find("bloom"));
  view.paused = true;
  view.speed = 0.5f;
  view.exportProgress = "captures/x.mp4 frame 3/10 (30%)";
  EXPECT_EQ(text().find("fps"), std::string::npos) << text();
  for (const char* wanted : {"PAUSED", "paused  CPU", "SPEED 1/2x", "export captures/x.mp4 frame 3/10 (30%)"})
    EXPECT_NE(text().find(wanted), std::string::npos) << wanted << "\n" << text();
}

TEST(StudioVideoExport, RunsAChildAndFollowsItsProgressWithoutWaiting) {
  EXPECT_EQ(progressOf("label: frame 120/600 (20%), 14.2 fps, 0:08 elapsed"), "frame 120/600 (20%)");
  EXPECT_EQ(progressOf("wrote x.mp4"), "");
  VideoExport child;
  std::string error;
  ASSERT_TRUE(child.start("/bin/sh", {"-c", "echo 'frame 1/2 (50%)' >&2; sleep 0.3; echo done >&2; exit 3"}, error));
  EXPECT_FALSE(child.start("/bin/sh", {"-c", "true"}, error)) << "one export at a time";
  int status = 0;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!child.poll(status) && std::chrono::steady_clock::now() < until) {
  }
  EXPECT_FALSE(child.running());
  EXPECT_EQ(status, 3);
  EXPECT_EQ(child.progress(), "frame 1/2 (50%)");
  EXPECT_EQ(child.lastLine(), "done");
}
