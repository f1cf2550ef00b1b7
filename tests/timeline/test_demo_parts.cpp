// Part lookup at the boundaries and the per-frame part bookkeeping.
#include <gtest/gtest.h>

#include "render/shared_uniforms.h"
#include "timeline/demo_parts.h"
#include "timeline/demo_state.h"
#include "timeline/fades.h"

namespace {
std::string partAt(float t) {
  const DemoTimeline timeline = makeDemoTimeline();
  const DemoPart* part = findDemoPart(timeline, t);
  return part ? part->name : "none";
}
}  // namespace

TEST(DemoParts, RowsCoverTheSongWithoutGapsAndLookupTakesTheLaterRowAtABoundary) {
  const DemoTimeline timeline = makeDemoTimeline();
  ASSERT_EQ(timeline.size(), 8u);
  EXPECT_EQ(timeline.back().end, 261.0f);
  for (size_t i = 0; i < timeline.size(); ++i) {
    EXPECT_EQ(timeline[i].index, static_cast<int>(i));
    EXPECT_EQ(timeline[i].start, i ? timeline[i - 1].end : 0.0f);
  }
  EXPECT_EQ(partAt(54.906f), "Abstract worlds");
  EXPECT_EQ(partAt(192.289f), "Greets explode");
  EXPECT_EQ(partAt(-0.1f), "none");
  EXPECT_EQ(partAt(261.0f), "none");
  const DemoPart* explode = findDemoPart(timeline, 193.0f);
  EXPECT_NEAR(explode->end - explode->start, 5.412f, 1e-3f);
}

TEST(DemoState, FirstFrameIsAChangeAndPartChangesClearTheHold) {
  buildDemoTimeline();
  demoState.previousPartIndex = -1;
  EXPECT_EQ(demoState.currentPartIndex, -1);
  fades.hold = true;
  advanceDemoPart(0.01f);
  EXPECT_EQ(demoState.currentPartIndex, 0);
  EXPECT_FALSE(fades.hold);

  fades.hold = true;
  advanceDemoPart(54.8f);
  EXPECT_TRUE(fades.hold) << "no change of part, the hold stays";
  advanceDemoPart(54.906f);
  EXPECT_EQ(sharedUniforms.activeDemoPart, 1);
  EXPECT_EQ(sharedUniforms.partStart, 54.906f);
  EXPECT_FALSE(fades.hold);

  advanceDemoPart(300.0f);  // outside every row: keep the previous part
  EXPECT_EQ(demoState.currentPartIndex, 1);
}
