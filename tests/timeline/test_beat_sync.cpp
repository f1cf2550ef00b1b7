// The beat-sync list, its cursor and every handler action.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "render/shared_uniforms.h"
#include "timeline/beat_sync.h"
#include "timeline/fades.h"

namespace {
void resetFades() { fades = FadeRecords{}; }

BeatSyncItem item(float time, int type, float value, float rate) { return {time, {{type, value, rate}}}; }

std::string handle(const BeatSyncItem& i) {
  testing::internal::CaptureStdout();
  beatSyncHandler(i);
  return testing::internal::GetCapturedStdout();
}
}  // namespace

TEST(BeatSyncList, CountsOrderAndCoincidences) {
  const auto items = makeBeatSyncList();
  EXPECT_EQ(items.size(), 1282u);
  EXPECT_EQ(std::count_if(items.begin(), items.end(), [](const BeatSyncItem& i) { return i.time < 259.0f; }), 661);
  for (size_t i = 1; i < items.size(); ++i) ASSERT_LT(items[i - 1].time, items[i].time) << i;

  auto coincident = [](const BeatSyncItem& i) { return i.time < 259.0f && i.actions.size() > 1; };
  ASSERT_EQ(std::count_if(items.begin(), items.end(), coincident), 1);
  const BeatSyncItem& both = *std::find_if(items.begin(), items.end(), coincident);
  EXPECT_NEAR(both.time, 72.956f, 1e-3f);
  ASSERT_EQ(both.actions.size(), 2u);
  EXPECT_EQ(both.actions[0].type, 9);
  EXPECT_EQ(both.actions[1].type, 2);
}

TEST(BeatSyncList, GridStartsWhereTheBeatsBegin) {
  const auto items = makeBeatSyncList();
  auto firstOfType = [&](int type) {
    for (const auto& i : items)
      for (const auto& a : i.actions)
        if (a.type == type) return i.time;
    return -1.0f;
  };
  EXPECT_NEAR(firstOfType(9), 27.448f, 1e-4f);  // the fixed one comes before the grid's 58.42
  EXPECT_NEAR(firstOfType(7), 43.348f, 2e-3f);
  EXPECT_NEAR(firstOfType(3), 0.051f, 1e-6f);
  EXPECT_NEAR(firstOfType(8), 73.228f, 1e-4f);
  std::vector<BeatSyncItem> merged;
  addSyncAction(merged, 1.0f, SyncActionType::LerpOne, 1.0f, 1.0f);
  addSyncAction(merged, 1.0f, SyncActionType::LerpTwo, 1.0f, 1.0f);
  addSyncAction(merged, std::nextafter(1.0f, 2.0f), SyncActionType::FadeToBlack, 1.0f, 1.0f);
  ASSERT_EQ(merged.size(), 2u) << "only exactly equal times merge";
  EXPECT_EQ(merged[0].actions.size(), 2u);
}

TEST(BeatSyncCursor, SeekAndDispatchOnePerFrame) {
  buildBeatSyncList();
  std::vector<float> fired;
  registerBeatSyncCallback([&](BeatSyncItem i) { fired.push_back(i.time); });
  EXPECT_EQ(positionSyncCursor(0.0f), 0);
  EXPECT_NEAR(beatSync.items[beatSync.cursor].time, 0.051f, 1e-6f);
  const size_t before = beatSync.cursor;
  EXPECT_EQ(positionSyncCursor(beatSync.items.back().time + 1.0f), -1);
  EXPECT_EQ(beatSync.cursor, before) << "no item at or after T: the cursor stays";

  dispatchBeatSync(0.05f);
  EXPECT_TRUE(fired.empty());
  dispatchBeatSync(2.0f);  // several items are due: one per frame
  dispatchBeatSync(2.0f);
  ASSERT_EQ(fired.size(), 2u);
  EXPECT_NEAR(fired[0], 0.051f, 1e-6f);
  EXPECT_LT(fired[0], fired[1]);
  registerBeatSyncCallback(beatSyncHandler);
}

TEST(BeatSyncHandler, PlayingTheListAtSixtyFramesStartsEachPulseOnItsFirstBeat) {
  resetFades();
  buildBeatSyncList();
  registerBeatSyncCallback(beatSyncHandler);
  // Song times at which each record is first started: the grid's first beats, the earliest
  // fixed lerp-three and intro pulses, the held black at 53.797 and the first white flash.
  struct Start { const char* record; float expected; float seen = -1.0f; };
  Start lerp1{"lerp one", 0.276f}, lerp2{"lerp two", 0.051f}, lerp3{"lerp three", 27.448f},
      intro{"intro pulse", 13.697f}, light{"light pulse", 43.348f}, crt{"crt pulse", 73.228f},
      black{"held fade to black", 53.797f}, white{"fade to white", 108.749f};
  auto rose = [](Start& start, float before, float after, float t) {
    if (start.seen < 0.0f && after > before) start.seen = t;
  };
  testing::internal::CaptureStdout();
  for (int frame = 0; frame < 110 * 60; ++frame) {
    const float t = frame / 60.0f;
    const FadeRecords before = fades;
    dispatchBeatSync(t);
    rose(lerp1, before.lerp1.value, fades.lerp1.value, t);
    rose(lerp2, before.lerp2.value, fades.lerp2.value, t);
    rose(lerp3, before.lerp3.value, fades.lerp3.value, t);
    rose(intro, before.introPulse.value, fades.introPulse.value, t);
    rose(light, before.lightPulse.value, fades.lightPulse.value, t);
    rose(crt, before.crtPulse.value, fades.crtPulse.value, t);
    rose(black, before.hold && before.blackActive, fades.hold && fades.blackActive, t);
    rose(white, before.whiteActive, fades.whiteActive, t);
    advanceFades(t);
  }
  testing::internal::GetCapturedStdout();
  for (const Start& start : {lerp1, lerp2, lerp3, intro, light, crt, black, white})
    EXPECT_TRUE(start.seen >= start.expected && start.seen < start.expected + 2.0f / 60.0f)
        << start.record << " first started at " << start.seen;
  EXPECT_EQ(handle(item(3.0f, 5, 0.75f, 0.0f)), "");
  EXPECT_EQ(sharedUniforms.propertyData[0], 0.75f);
  for (int unknown : {0, 13}) {
    EXPECT_EQ(handle(item(3.0f, unknown, 0.5f, 0.0f)), "");
    EXPECT_EQ(sharedUniforms.propertyData[0], 0.75f);
  }
  sharedUniforms.propertyData[0] = 0.0f;
}

TEST(BeatSyncHandler, FadesAndTheirMessages) {
  resetFades();
  EXPECT_EQ(handle(item(1.5f, 1, 1.0f, 5.25f)), "");
  EXPECT_TRUE(fades.whiteActive);
  handle(item(2.0f, 1, 1.0f, 1.0f));
  EXPECT_EQ(fades.fadeToWhite.startTime, 1.5f) << "a white fade in progress ignores a new one";

  EXPECT_EQ(handle(item(53.797f, 10, 1.0f, 1.0f)), "startftb-stay: 53.797\n");
  EXPECT_TRUE(fades.hold);
  EXPECT_TRUE(fades.blackActive);
  EXPECT_EQ(handle(item(54.0f, 4, 1.0f, 4.0f)), "startftb: 54\n");
  EXPECT_FALSE(fades.hold) << "type 4 clears the hold even while the fade runs";
  EXPECT_EQ(fades.fadeToBlack.startTime, 53.797f) << "but does not restart it";

  resetFades();
  fades.whiteActive = true;
  EXPECT_EQ(handle(item(5.0f, 6, 1.0f, 2.0f)), "");
  EXPECT_FALSE(fades.whiteActive);
  EXPECT_TRUE(fades.blackActive);

  fades.hold = true;
  EXPECT_EQ(handle(item(6.0f, 11, 1.0f, 2.0f)), "startftb: 6\n");
  EXPECT_FALSE(fades.hold);
  EXPECT_EQ(fades.fadeFromBlack.startTime, 6.0f);
  EXPECT_FALSE(fades.fadeFromBlackActive);
}
