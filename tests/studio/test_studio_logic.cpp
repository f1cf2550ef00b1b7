// The studio's logic without a window: the key map, where a seek lands (part, sync cursor, hold
// flag), loop ranges and their wrap, the shader folder watcher and which scenes it reloads, the
// timestamp ring never reading a stamp that is not available, pass names, the options and the
// frame benchmark's table.
#include <SDL2/SDL_keycode.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "capture/render_bench.h"
#include "studio/keys.h"
#include "studio/loop.h"
#include "studio/options.h"
#include "studio/overlay.h"
#include "render/pass_names.h"
#include "timeline/seek.h"
#include "render/timer_ring.h"
#include "studio/watch.h"
#include "render/embedded_shaders.h"
#include "render/shared_uniforms.h"
#include "tests/support/gl_context.h"
#include "tests/support/temp_files.h"
#include "timeline/demo_state.h"
#include "timeline/fades.h"

namespace {

const DemoTimeline& table() {
  static const DemoTimeline timeline = makeDemoTimeline();
  return timeline;
}

const std::vector<BeatSyncItem>& syncList() {
  static const std::vector<BeatSyncItem> items = makeBeatSyncList();
  return items;
}

StudioAction key(int32_t keycode, uint16_t modifiers = KMOD_NONE, bool repeat = false) {
  return actionForKey(keycode, modifiers, repeat);
}

}  // namespace

// ---- keys ----

TEST(StudioKeys, EachKeyHasItsAction) {
  EXPECT_EQ(key(SDLK_SPACE).command, StudioCommand::TogglePause);
  EXPECT_EQ(key(SDLK_PAGEUP).command, StudioCommand::PreviousPart);
  EXPECT_EQ(key(SDLK_PAGEDOWN).command, StudioCommand::NextPart);
  EXPECT_EQ(key(SDLK_l).command, StudioCommand::ToggleLoop);
  EXPECT_EQ(key(SDLK_LEFTBRACKET).command, StudioCommand::MarkLoopIn);
  EXPECT_EQ(key(SDLK_RIGHTBRACKET).command, StudioCommand::MarkLoopOut);
  EXPECT_EQ(key(SDLK_r).command, StudioCommand::ReloadAll);
  EXPECT_EQ(key(SDLK_t).command, StudioCommand::ToggleTiming);
  EXPECT_EQ(key(SDLK_h).command, StudioCommand::ToggleHelp);
  EXPECT_EQ(key(SDLK_F1).command, StudioCommand::ToggleHelp);
  EXPECT_EQ(key(SDLK_ESCAPE).command, StudioCommand::Quit);
  EXPECT_EQ(key(SDLK_x).command, StudioCommand::None);
}

TEST(StudioKeys, ArrowsSeekOneSecondAndTenWithShift) {
  EXPECT_EQ(key(SDLK_LEFT).command, StudioCommand::Seek);
  EXPECT_FLOAT_EQ(key(SDLK_LEFT).seconds, -1.0f);
  EXPECT_FLOAT_EQ(key(SDLK_RIGHT).seconds, 1.0f);
  EXPECT_FLOAT_EQ(key(SDLK_LEFT, KMOD_LSHIFT).seconds, -10.0f);
  EXPECT_FLOAT_EQ(key(SDLK_RIGHT, KMOD_RSHIFT).seconds, 10.0f);
  // A held arrow keeps seeking; a held toggle does not toggle again.
  EXPECT_FLOAT_EQ(key(SDLK_RIGHT, KMOD_NONE, true).seconds, 1.0f);
  EXPECT_EQ(key(SDLK_SPACE, KMOD_NONE, true).command, StudioCommand::None);
  EXPECT_EQ(key(SDLK_l, KMOD_NONE, true).command, StudioCommand::None);
}

TEST(StudioKeys, DigitsOneToEightJumpToTheirPart) {
  EXPECT_EQ(key(SDLK_1).command, StudioCommand::JumpToPart);
  EXPECT_EQ(key(SDLK_1).part, 0);
  EXPECT_EQ(key(SDLK_3).part, 2);
  EXPECT_EQ(key(SDLK_8).part, 7);
  EXPECT_EQ(key(SDLK_KP_5).part, 4);
  EXPECT_EQ(key(SDLK_9).command, StudioCommand::None);
  EXPECT_EQ(key(SDLK_0).command, StudioCommand::None);
}

TEST(StudioKeys, HelpListsEveryKeyOnce) {
  std::string all;
  for (const KeyHelp& help : studioKeyHelp()) all += help.keys + "\n";
  for (const char* name : {"Space", "Left / Right", "Shift+Left / Right", "Page Up / Page Down", "1 .. 8", "L",
                           "[ / ]", "R", "T", "H / F1", "Escape"})
    EXPECT_NE(all.find(std::string(name) + "\n"), std::string::npos) << name;
  EXPECT_EQ(helpLines().size(), studioKeyHelp().size() + 2);
}

// ---- seek ----

TEST(StudioSeek, LandsOnThePartItsTimeBelongsTo) {
  EXPECT_EQ(seekLanding(120.0f, table(), syncList()).partIndex, 2);
  EXPECT_FLOAT_EQ(seekLanding(120.0f, table(), syncList()).partStart, 109.766f);
  EXPECT_EQ(seekLanding(54.906f, table(), syncList()).partIndex, 1);
  EXPECT_EQ(seekLanding(54.905f, table(), syncList()).partIndex, 0);
  EXPECT_EQ(seekLanding(258.9f, table(), syncList()).partIndex, 7);
}

TEST(StudioSeek, StaysBetweenTheStartAndTheEndPoint) {
  const SeekLanding before = seekLanding(-5.0f, table(), syncList());
  EXPECT_FLOAT_EQ(before.time, 0.0f);
  EXPECT_EQ(before.partIndex, 0);
  EXPECT_EQ(before.cursor, 0u);
  const SeekLanding after = seekLanding(400.0f, table(), syncList());
  EXPECT_FLOAT_EQ(after.time, 259.0f);
  EXPECT_EQ(after.partIndex, 7);
}

TEST(StudioSeek, CursorPointsAtTheFirstItemAtOrAfterTheTime) {
  for (const float t : {0.0f, 13.697f, 54.0f, 120.0f, 200.5f}) {
    const SeekLanding landing = seekLanding(t, table(), syncList());
    ASSERT_LT(landing.cursor, syncList().size());
    EXPECT_GE(syncList()[landing.cursor].time, t);
    if (landing.cursor > 0) {
      EXPECT_LT(syncList()[landing.cursor - 1].time, t);
    }
  }
  // An item exactly at the time has not fired yet: it is the next one.
  EXPECT_FLOAT_EQ(syncList()[seekLanding(13.697f, table(), syncList()).cursor].time, 13.697f);
}

TEST(StudioSeek, HoldFlagIsSetOnlyInsideAHeldFadeToBlack) {
  // The held fades start at 53.797 s and 150.909 s and last until their part ends.
  EXPECT_FALSE(seekLanding(53.7f, table(), syncList()).hold);
  EXPECT_FALSE(seekLanding(53.797f, table(), syncList()).hold) << "the item at the time has not fired";
  EXPECT_TRUE(seekLanding(53.8f, table(), syncList()).hold);
  EXPECT_TRUE(seekLanding(54.9f, table(), syncList()).hold);
  EXPECT_FALSE(seekLanding(54.906f, table(), syncList()).hold) << "a new part clears the hold";
  EXPECT_TRUE(seekLanding(151.5f, table(), syncList()).hold);
  EXPECT_FALSE(seekLanding(151.909f, table(), syncList()).hold);
  EXPECT_FALSE(seekLanding(120.0f, table(), syncList()).hold);
}

TEST(StudioSeek, ApplyingItMovesCursorPartAndHoldAndClearsFades) {
  buildBeatSyncList();
  buildDemoTimeline();
  fades.lerp1.value = 0.8f;
  fades.lightPulse.value = 0.5f;
  fades.blackActive = true;
  const SeekLanding landing = seekLanding(54.0f, demoTimeline, beatSync.items);
  const std::string output = captureStdout([&] { applySeek(landing); });
  EXPECT_NE(output.find("Synced position: " + std::to_string(landing.cursor) + " time: 54\n"), std::string::npos)
      << output;
  EXPECT_EQ(beatSync.cursor, landing.cursor);
  EXPECT_FLOAT_EQ(sharedUniforms.songPosition, 54.0f);
  EXPECT_EQ(demoState.currentPartIndex, 0);
  EXPECT_EQ(sharedUniforms.activeDemoPart, 0);
  EXPECT_TRUE(fades.hold);
  EXPECT_FLOAT_EQ(fades.lerp1.value, 0.0f);
  EXPECT_FLOAT_EQ(fades.lightPulse.value, 0.0f);
  EXPECT_FALSE(fades.blackActive);
  // The next frame of the loop finds no part change, so the hold stays; the part's end clears it.
  advanceDemoPart(54.1f);
  EXPECT_TRUE(fades.hold);
  advanceDemoPart(54.95f);
  EXPECT_FALSE(fades.hold);
}

TEST(StudioSeek, ASeekIntoAnotherPartIsNotSeenAsAPartChange) {
  buildBeatSyncList();
  buildDemoTimeline();
  advanceDemoPart(10.0f);
  captureStdout([] { applySeek(seekLanding(151.5f, demoTimeline, beatSync.items)); });
  EXPECT_EQ(demoState.currentPartIndex, 2);
  EXPECT_FLOAT_EQ(sharedUniforms.partStart, 109.766f);
  advanceDemoPart(151.52f);
  EXPECT_TRUE(fades.hold);
}

TEST(StudioSeek, PartStartsAndNeighbours) {
  EXPECT_FLOAT_EQ(partStartTime(table(), 3), 151.909f);
  EXPECT_FLOAT_EQ(partStartTime(table(), -1), 0.0f);
  EXPECT_FLOAT_EQ(partStartTime(table(), 12), 252.3f);
  EXPECT_EQ(partIndexAt(table(), 197.701f), 5);
  EXPECT_EQ(partIndexAt(table(), 300.0f), 7);
}

// ---- loop ----

TEST(StudioLoop, LoopsThePartPlayingWhenTurnedOn) {
  LoopState loop;
  toggleLoop(loop, 120.0f, table());
  ASSERT_TRUE(loop.on);
  EXPECT_FLOAT_EQ(loop.start, 109.766f);
  EXPECT_FLOAT_EQ(loop.end, 151.909f);
  EXPECT_FALSE(loopWrap(loop, 151.9f).has_value());
  ASSERT_TRUE(loopWrap(loop, 151.909f).has_value());
  EXPECT_FLOAT_EQ(*loopWrap(loop, 151.909f), 109.766f);
  EXPECT_FLOAT_EQ(*loopWrap(loop, 170.0f), 109.766f);
  toggleLoop(loop, 120.0f, table());
  EXPECT_FALSE(loopWrap(loop, 170.0f).has_value());
}

TEST(StudioLoop, TheLastPartLoopsAtTheEndPoint) {
  LoopState loop;
  toggleLoop(loop, 255.0f, table());
  EXPECT_FLOAT_EQ(loop.start, 252.3f);
  EXPECT_FLOAT_EQ(loop.end, 259.0f);
  EXPECT_FALSE(loopWrap(loop, 258.99f).has_value());
  EXPECT_TRUE(loopWrap(loop, 259.0f).has_value());
}

TEST(StudioLoop, MarksMakeTheRangeInEitherOrder) {
  LoopState loop;
  markLoopIn(loop, 20.0f, table());
  markLoopOut(loop, 25.0f, table());
  toggleLoop(loop, 22.0f, table());
  EXPECT_FLOAT_EQ(loop.start, 20.0f);
  EXPECT_FLOAT_EQ(loop.end, 25.0f);
  EXPECT_FLOAT_EQ(*loopWrap(loop, 25.0f), 20.0f);
  // Moving a mark while looping takes effect at once; out before in swaps them.
  markLoopIn(loop, 30.0f, table());
  EXPECT_FLOAT_EQ(loop.start, 25.0f);
  EXPECT_FLOAT_EQ(loop.end, 30.0f);
}

TEST(StudioLoop, TooShortARangeLoopsThePart) {
  LoopState loop;
  markLoopIn(loop, 20.0f, table());
  markLoopOut(loop, 20.05f, table());
  toggleLoop(loop, 20.0f, table());
  EXPECT_FLOAT_EQ(loop.start, 0.0f);
  EXPECT_FLOAT_EQ(loop.end, 54.906f);
}

TEST(StudioLoop, APartLoopFollowsASeekAndAMarkedRangeDoesNot) {
  LoopState part;
  toggleLoop(part, 120.0f, table());
  followSeek(part, 200.0f, table());
  EXPECT_FLOAT_EQ(part.start, 197.701f);
  EXPECT_FLOAT_EQ(part.end, 217.336f);
  LoopState range;
  markLoopIn(range, 20.0f, table());
  markLoopOut(range, 25.0f, table());
  toggleLoop(range, 22.0f, table());
  followSeek(range, 200.0f, table());
  EXPECT_FLOAT_EQ(range.start, 20.0f);
  EXPECT_FLOAT_EQ(*loopWrap(range, 200.0f), 20.0f);
}

// ---- watcher ----

TEST(StudioWatch, SeesChangedNewAndDeletedShaderFilesOnly) {
  TempDir dir;
  dir.write("shaders/a.glsl", "void main() {}\n");
  dir.write("shaders/lib/b.glsl", "float b;\n");
  dir.write("shaders/notes.txt", "not a shader\n");
  ScopedWorkingDir here(dir.path());
  ShaderFolderWatcher watcher("./shaders");
  EXPECT_TRUE(watcher.poll().empty());

  dir.write("shaders/a.glsl", "void main() { }\n");
  dir.write("shaders/notes.txt", "still not a shader\n");
  ShaderFileChanges changes = watcher.poll();
  EXPECT_EQ(changes.changed, std::vector<std::string>{"shaders/a.glsl"});
  EXPECT_TRUE(changes.lost.empty());

  dir.write("shaders/a.glsl", "void main() { }\n");  // same bytes again: nothing to do
  EXPECT_TRUE(watcher.poll().empty());

  std::filesystem::remove(dir.path() / "shaders/lib/b.glsl");
  dir.write("shaders/lib/c.glsl", "float c;\n");
  changes = watcher.poll();
  EXPECT_EQ(changes.changed, std::vector<std::string>{"shaders/lib/c.glsl"});
  EXPECT_EQ(changes.lost, std::vector<std::string>{"shaders/lib/b.glsl"});
}

TEST(StudioWatch, AnUnreadableFileIsLostAndComesBackAsChanged) {
  const ShaderFolderSnapshot readable = {{"shaders/a.glsl", {true, 1}}};
  const ShaderFolderSnapshot unreadable = {{"shaders/a.glsl", {false, 0}}};
  EXPECT_EQ(compareSnapshots(readable, unreadable).lost, std::vector<std::string>{"shaders/a.glsl"});
  EXPECT_TRUE(compareSnapshots(unreadable, unreadable).empty());
  EXPECT_EQ(compareSnapshots(unreadable, readable).changed, std::vector<std::string>{"shaders/a.glsl"});
  EXPECT_TRUE(compareSnapshots(unreadable, {}).empty()) << "already reported";
}

TEST(StudioWatch, ReloadsTheScenesThatReadAChangedFile) {
  const std::vector<std::set<std::string>> files = {
      {"shaders/screenquad_vtx.glsl", "shaders/postprocessors/qdof.glsl"},
      {"shaders/screenquad_vtx.glsl", "shaders/lib/border_composite.glsl"},
      {},
  };
  EXPECT_EQ(scenesReading(files, {"./shaders/lib/border_composite.glsl"}), std::vector<size_t>{1});
  EXPECT_EQ(scenesReading(files, {"shaders/screenquad_vtx.glsl"}), (std::vector<size_t>{0, 1}));
  EXPECT_EQ(scenesReading(files, {"./shaders/postprocessors/qdof.glsl", "./shaders/lib/border_composite.glsl"}),
            (std::vector<size_t>{0, 1}));
  EXPECT_TRUE(scenesReading(files, {"./shaders/postprocessors/bloom.glsl"}).empty());
}

TEST(StudioWatch, PathsComparedInOneSpelling) {
  EXPECT_EQ(normalShaderPath("./shaders/lib/x.glsl"), "shaders/lib/x.glsl");
  EXPECT_EQ(normalShaderPath("shaders/lib/../lib/x.glsl"), "shaders/lib/x.glsl");
}

// ---- timer ring ----

namespace {

// Stamps become available in the order they were made, up to `ready`; reading one that is not
// available is a failure.
class FakeQueries : public QueryBackend {
 public:
  uint32_t create() override { return ++created; }
  void stamp(uint32_t query) override {
    stamps[query] = clock;
    order.push_back(query);
  }
  bool available(uint32_t query) override {
    for (size_t i = 0; i < ready && i < order.size(); ++i)
      if (order[i] == query) return true;
    return false;
  }
  uint64_t nanoseconds(uint32_t query) override {
    if (!available(query)) ADD_FAILURE() << "read query " << query << " before it was available";
    ++reads;
    return stamps[query];
  }

  uint32_t created = 0;
  uint64_t clock = 0;
  size_t ready = 0;
  int reads = 0;
  std::map<uint32_t, uint64_t> stamps;
  std::vector<uint32_t> order;
};

// One frame: a scene pass of `sceneMs` and a bloom pass of `bloomMs`, starting at `startMs`.
void recordFrame(TimerRing& ring, FakeQueries& gpu, double startMs, double sceneMs, double bloomMs) {
  ring.beginFrame();
  gpu.clock = static_cast<uint64_t>(startMs * 1e6);
  ring.markPass("scene", true);
  gpu.clock += static_cast<uint64_t>(sceneMs * 1e6);
  ring.markPass("scene", false);
  gpu.clock += 100000;  // a gap between passes belongs to no pass
  ring.markPass("bloom", true);
  gpu.clock += static_cast<uint64_t>(bloomMs * 1e6);
  ring.markPass("bloom", false);
  ring.endFrame();
}

}  // namespace

TEST(StudioTimerRing, ReadsNothingUntilAFramesStampsAreAllAvailable) {
  FakeQueries gpu;
  TimerRing ring(gpu, 3);
  recordFrame(ring, gpu, 0.0, 2.0, 0.5);
  gpu.ready = 3;  // three of the frame's four stamps
  recordFrame(ring, gpu, 20.0, 4.0, 1.0);
  EXPECT_EQ(gpu.reads, 0);
  EXPECT_TRUE(ring.latest().empty());
  EXPECT_EQ(ring.latestFrame(), -1);

  gpu.ready = 4;
  ring.collect();
  ASSERT_EQ(ring.latest().size(), 2u);
  EXPECT_EQ(ring.latest()[0].name, "scene");
  EXPECT_NEAR(ring.latest()[0].milliseconds, 2.0, 1e-9);
  EXPECT_EQ(ring.latest()[1].name, "bloom");
  EXPECT_NEAR(ring.latest()[1].milliseconds, 0.5, 1e-9);
  EXPECT_EQ(ring.latestFrame(), 0);
}

TEST(StudioTimerRing, AFullRingSkipsFramesInsteadOfWaiting) {
  FakeQueries gpu;
  TimerRing ring(gpu, 3);
  for (int frame = 0; frame < 5; ++frame) recordFrame(ring, gpu, frame * 20.0, 2.0 + frame, 0.5);
  EXPECT_EQ(ring.skippedFrames(), 2);
  EXPECT_EQ(gpu.created, 12u) << "a skipped frame stamps nothing";
  EXPECT_EQ(gpu.reads, 0);

  gpu.ready = gpu.order.size();
  ring.collect();
  EXPECT_EQ(ring.latestFrame(), 2) << "the newest measured frame wins";
  EXPECT_NEAR(ring.latest()[0].milliseconds, 4.0, 1e-9);
  // The slots are free again and their queries are reused.
  recordFrame(ring, gpu, 200.0, 7.0, 0.5);
  EXPECT_EQ(gpu.created, 12u);
  gpu.ready = gpu.order.size();
  ring.collect();
  EXPECT_EQ(ring.latestFrame(), 5);
  EXPECT_NEAR(ring.latest()[0].milliseconds, 7.0, 1e-9);
}

// ---- pass names ----

TEST(StudioPassNames, PostPassesAreNamedAfterTheirFile) {
  ProgramNames names;
  const std::string path = "./shaders/postprocessors/bloom.glsl";
  names.note({7, 0, 0, 0, true, &path}, 7);
  EXPECT_EQ(names.passName(PassKind::Post, 7), "bloom");
  const std::string* embedded = findEmbeddedShader("./shaders/postprocessors/crt.glsl");
  ASSERT_NE(embedded, nullptr);
  names.note({8, 0, 0, 0, false, embedded}, 8);
  EXPECT_EQ(names.passName(PassKind::Post, 8), "crt");
  const std::string assembled = "#version 330 core\nvoid main() {}\n";
  names.note({9, 0, 0, 0, false, &assembled}, 9);
  EXPECT_EQ(names.passName(PassKind::Post, 9), "post");
  EXPECT_EQ(names.passName(PassKind::Scene, 7), "scene");
  EXPECT_EQ(names.passName(PassKind::Composite, 7), "composite");
  // A failed rebuild that kept another program does not rename that program.
  const std::string other = "./shaders/postprocessors/fxaa.glsl";
  names.note({10, 0, 0, 0, true, &other}, 7);
  EXPECT_EQ(names.passName(PassKind::Post, 7), "bloom");
}

// ---- options ----

namespace {

std::optional<StudioOptions> studioArgs(std::vector<const char*> args, std::string& error) {
  args.insert(args.begin(), "tarvik-studio");
  return parseStudioOptions(static_cast<int>(args.size()), args.data(), error);
}

}  // namespace

TEST(StudioOptions, StartTimePartQualityAndRenderSize) {
  std::string error;
  auto options = studioArgs({}, error);
  ASSERT_TRUE(options);
  EXPECT_FLOAT_EQ(options->start, 0.0f);
  EXPECT_EQ(options->quality, 1);
  options = studioArgs({"--part", "3", "mode=low", "--render", "64"}, error);
  ASSERT_TRUE(options) << error;
  EXPECT_FLOAT_EQ(options->start, 109.766f);
  EXPECT_EQ(options->quality, 0);
  EXPECT_EQ(options->renderSize, 64);
  options = studioArgs({"--start", "12.5", "mode=high"}, error);
  ASSERT_TRUE(options) << error;
  EXPECT_FLOAT_EQ(options->start, 12.5f);
  EXPECT_EQ(options->quality, 2);
  EXPECT_FLOAT_EQ(studioArgs({"--part", "8"}, error)->start, 252.3f);
}

TEST(StudioOptions, RefusesWhatItCannotUse) {
  std::string error;
  for (const std::vector<const char*>& bad :
       {std::vector<const char*>{"--part", "0"}, {"--part", "9"}, {"--start", "260"}, {"--start", "-1"},
        {"--start", "abc"}, {"--start", "1", "--part", "2"}, {"--render", "0"}, {"mode=ultra"}, {"windowed"},
        {"--start"}}) {
    error.clear();
    EXPECT_FALSE(studioArgs(bad, error)) << bad[0];
    EXPECT_FALSE(error.empty());
  }
}

// ---- frame benchmark ----

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

// ---- overlay text ----

TEST(StudioOverlay, TimingBlockListsEveryPassAndTheirSum) {
  TimingView view;
  view.songTime = 120.5f;
  view.partIndex = 2;
  view.partName = "Tentacles";
  view.partTime = 10.734f;
  view.passes = {{"scene", 3.0}, {"bloom", 0.25}, {"composite", 0.5}};
  view.paused = true;
  std::string text;
  for (const OverlayLine& line : timingLines(view)) text += line.text + "\n";
  EXPECT_NE(text.find(" 120.50 s  part 3 Tentacles  +10.73 s"), std::string::npos) << text;
  EXPECT_NE(text.find("PAUSED"), std::string::npos);
  EXPECT_NE(text.find("GPU   3.75 ms"), std::string::npos) << text;
  const size_t scene = text.find("scene"), bloom = text.find("bloom"), composite = text.find("composite");
  EXPECT_LT(scene, bloom);
  EXPECT_LT(bloom, composite);
}
