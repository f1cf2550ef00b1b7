// The fixed part table and its lookup.
#include "timeline/demo_parts.h"

DemoTimeline demoTimeline;

void addDemoPart(DemoTimeline& timeline, float start, float end, const std::string& name, int index) {
  timeline.push_back({start, end, name, index});
}

DemoTimeline makeDemoTimeline() {
  DemoTimeline timeline;
  addDemoPart(timeline, 0.0f, 54.906f, "CubeIntro", 0);
  addDemoPart(timeline, 54.906f, 109.766f, "Abstract worlds", 1);
  addDemoPart(timeline, 109.766f, 151.909f, "Tentacles", 2);
  addDemoPart(timeline, 151.909f, 192.289f, "Greets", 3);
  addDemoPart(timeline, 192.289f, 197.701f, "Greets explode", 4);
  addDemoPart(timeline, 197.701f, 217.336f, "Logo effect", 5);
  addDemoPart(timeline, 217.336f, 252.3f, "Meta cubes", 6);
  addDemoPart(timeline, 252.3f, 261.0f, "End", 7);
  return timeline;
}

const DemoPart* findDemoPart(const DemoTimeline& timeline, float position) {
  for (const DemoPart& part : timeline)
    if (part.start <= position && position < part.end) return &part;
  return nullptr;
}
