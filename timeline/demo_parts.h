// The demo part table: eight song intervals, each drawn by one scene.
// Owns: demoTimeline (writer: buildDemoTimeline of timeline/demo_state.h, once at start-up).
// Does NOT track the current part: the main loop does (timeline/demo_state.h).
#pragma once
#include <string>
#include <vector>

struct DemoPart {
  float start;  // inclusive
  float end;    // exclusive; bit-for-bit the next row's start
  std::string name;
  int index;    // also the scene's position in sceneList
};

using DemoTimeline = std::vector<DemoPart>;  // search order is the order of adding

extern DemoTimeline demoTimeline;

DemoTimeline makeDemoTimeline();
void addDemoPart(DemoTimeline& timeline, float start, float end, const std::string& name, int index);
// The first row with start <= position < end, or nullptr when none contains it.
const DemoPart* findDemoPart(const DemoTimeline& timeline, float position);

constexpr float demoEndTime = 259.0f;  // the run stops on the first frame past this
