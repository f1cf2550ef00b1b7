// Where a seek lands (part, sync cursor, hold flag) and what applying it moves: the studio's
// seeks and the offline renderer's start both go through it.
#include <gtest/gtest.h>

#include "render/shared_uniforms.h"
#include "tests/support/gl_context.h"
#include "timeline/demo_state.h"
#include "timeline/fades.h"
#include "timeline/seek.h"

namespace {

const DemoTimeline& table() {
  static const DemoTimeline timeline = makeDemoTimeline();
  return timeline;
}

const std::vector<BeatSyncItem>& syncList() {
  static const std::vector<BeatSyncItem> items = makeBeatSyncList();
  return items;
}

}  // namespace

TEST(Seek, LandsOnThePartItsTimeBelongsToBetweenTheStartAndTheEndPoint) {
  const std::pair<float, int> parts[] = {{120.0f, 2}, {54.906f, 1}, {54.905f, 0}, {258.9f, 7}, {-5.0f, 0}, {400.0f, 7}};
  for (const auto& [t, part] : parts) EXPECT_EQ(seekLanding(t, table(), syncList()).partIndex, part) << t;
  EXPECT_FLOAT_EQ(seekLanding(-5.0f, table(), syncList()).time, 0.0f);
  EXPECT_FLOAT_EQ(seekLanding(400.0f, table(), syncList()).time, 259.0f);
}

TEST(Seek, CursorPointsAtTheFirstItemAtOrAfterTheTime) {
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

TEST(Seek, HoldFlagIsSetOnlyInsideAHeldFadeToBlack) {
  // The held fades start at 53.797 s and 150.909 s and last until their part ends.
  // An item exactly at the time has not fired yet, and a new part clears the hold.
  for (float t : {53.8f, 54.9f, 151.5f}) EXPECT_TRUE(seekLanding(t, table(), syncList()).hold) << t;
  for (float t : {53.7f, 53.797f, 54.906f, 151.909f, 120.0f}) EXPECT_FALSE(seekLanding(t, table(), syncList()).hold) << t;
}

TEST(Seek, ApplyingItMovesCursorPartAndHoldAndClearsFades) {
  buildBeatSyncList();
  buildDemoTimeline();
  fades.lerp1.value = 0.8f;
  fades.blackActive = true;
  const SeekLanding landing = seekLanding(54.0f, demoTimeline, beatSync.items);
  const std::string output = captureStdout([&] { applySeek(landing); });
  EXPECT_NE(output.find("Synced position: " + std::to_string(landing.cursor) + " time: 54\n"), std::string::npos)
      << output;
  EXPECT_EQ(beatSync.cursor, landing.cursor);
  EXPECT_FLOAT_EQ(sharedUniforms.songPosition, 54.0f);
  EXPECT_EQ(demoState.currentPartIndex, 0);
  EXPECT_TRUE(fades.hold);
  EXPECT_FLOAT_EQ(fades.lerp1.value, 0.0f);
  EXPECT_FALSE(fades.blackActive);
  // The next frame of the loop finds no part change, so the hold stays; the part's end clears it.
  advanceDemoPart(54.1f);
  EXPECT_TRUE(fades.hold);
  advanceDemoPart(54.95f);
  EXPECT_FALSE(fades.hold);
}

TEST(Seek, ASeekIntoAnotherPartIsNotSeenAsAPartChange) {
  buildBeatSyncList();
  buildDemoTimeline();
  advanceDemoPart(10.0f);
  captureStdout([] { applySeek(seekLanding(151.5f, demoTimeline, beatSync.items)); });
  EXPECT_EQ(demoState.currentPartIndex, 2);
  EXPECT_FLOAT_EQ(sharedUniforms.partStart, 109.766f);
  advanceDemoPart(151.52f);
  EXPECT_TRUE(fades.hold);
}
