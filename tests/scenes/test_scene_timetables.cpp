// The scenes' CPU arithmetic against the values their timetables and formulas give at stated
// times: each scene's dust swirl on its own clock, the dust camera, the tentacle sub-steps and
// cameras, the greets cameras and flares by phase and quality, and the RGB split offsets.
#include <gtest/gtest.h>

#include <cmath>
#include <span>

#include "scenes/dust_turns.h"
#include "scenes/greets_timing.h"
#include "scenes/rgb_split_offsets.h"
#include "scenes/tentacle_timing.h"

namespace {

struct TimedValue {
  const char* what;
  double at;
  double expected;
  double (*valueAt)(double);
};

void expectTable(std::span<const TimedValue> rows) {
  for (const TimedValue& row : rows) {
    const double tolerance = 1e-6 + 1e-5 * std::abs(row.expected);
    EXPECT_NEAR(row.valueAt(row.at), row.expected, tolerance) << row.what << " at " << row.at;
  }
}

// The turn a of dust layer j at a song time, read back from its (cos a, sin a); each part here
// began at 100 s, so a scene on the wrong clock turns elsewhere.
double turn(DustSwirl swirl, double songTime, int j) {
  const auto turns = dustLayerTurns(swirl, dustClock(swirl, static_cast<float>(songTime), 100.0f));
  return std::atan2(turns[static_cast<size_t>(4 * j + 1)], turns[static_cast<size_t>(4 * j)]);
}

DustCamera dust(double clock) { return dustCameraAt(static_cast<float>(clock)); }

// miscData[k] of the tentacle part at a part time and quality; k = 5 gives the sub-step.
double tentacle(double partTime, int quality, int k) {
  SceneSettings s;
  s.miscData = {1.228f, 4.912f, 0.982f, 71.86f, 485.0f};
  applyTentacleStep(s, static_cast<float>(partTime), quality);
  return k < 5 ? s.miscData[static_cast<size_t>(k)] : s.sub_step;
}

// miscData[k] of the greets part at a part time and quality; k = 5 and 6 give flare x and y.
double greets(double partTime, int quality, int k) {
  const GreetsView v = greetsView(partTime, quality);
  return k < 5 ? v.miscData[k] : (k == 5 ? v.flareX : v.flareY);
}

}  // namespace

TEST(SceneTimetables, DustTurnsOnEachScenesClockAndTheDustCameraFollowTheirFormulas) {
  const TimedValue rows[] = {
      {"intro layer 3: sin(0.2 j + 0.02 pt)", 130.0, 0.9320391, [](double s) { return turn(introDustSwirl, s, 3); }},
      {"worlds layer 5, sin(2j + 0.2pt)", 110.0, -0.5365729, [](double s) { return turn(abstractWorldsDustSwirl, s, 5); }},
      {"logo layer 2, on part time", 103.0, -0.9936910, [](double s) { return turn(logoDustSwirl, s, 2); }},
      {"meta layer 1: sin(2 j + 0.2 song)", 230.0, -0.7682547, [](double s) { return turn(metaDustSwirl, s, 1); }},
      {"tentacle layer 4, on song time", 120.0, 0.5514267, [](double s) { return turn(tentacleDustSwirl, s, 4); }},
      {"greets layer 6, on song time", 160.0, 0.0177019, [](double s) { return turn(greetsDustSwirl, s, 6); }},
      {"layer 5 scale 4 + sin 5", 0.0, 3.0410757, [](double) { return double(dustLayerTurns(metaDustSwirl, 0)[22]); }},
      {"eye x, the tunnel's 1.5 sin 0.2 z", 0.0, 0.8469637, [](double c) { return double(dust(c).eye.x); }},
      {"eye x", 10.0, -0.7595191, [](double c) { return double(dust(c).eye.x); }},
      {"eye y", 10.0, -1.2228003, [](double c) { return double(dust(c).eye.y); }},
      {"straight eye x: 0.5 sin 0.35 t", 63.5, -0.1158629, [](double c) { return double(dust(c).straightEye.x); }},
      {"straight eye y: 0.5 sin 0.45 t", 63.5, -0.1480783, [](double c) { return double(dust(c).straightEye.y); }},
      {"eye z: -3 + t / 2", 63.5, 28.75, [](double c) { return double(dust(c).eye.z); }},
      {"forward x", 10.0, -0.1652097, [](double c) { return double(dust(c).forward.x); }},
      {"forward y", 63.5, 0.3646034, [](double c) { return double(dust(c).forward.y); }},
      {"right z", 10.0, -0.1652585, [](double c) { return double(dust(c).right.z); }},
      {"up x", 63.5, -0.0880633, [](double c) { return double(dust(c).up.x); }},
  };
  expectTable(rows);
}

TEST(SceneTimetables, TentacleAndGreetsCamerasAndTheRgbSplitFollowTheirTables) {
  const TimedValue rows[] = {
      {"tentacle sub-step", 13.999, 0.0, [](double t) { return tentacle(t, 1, 5); }},
      {"tentacle sub-step", 14.0, 1.0, [](double t) { return tentacle(t, 1, 5); }},
      {"tentacle sub-step", 28.5, 2.0, [](double t) { return tentacle(t, 1, 5); }},
      {"lattice m0", 0.0, -1.841, [](double t) { return tentacle(t, 0, 0); }},
      {"lattice m1, high", 5.0, -8.386, [](double t) { return tentacle(t, 2, 1); }},
      {"lattice m4", 13.999, -272.727, [](double t) { return tentacle(t, 1, 4); }},
      {"swarm m0, high", 20.0, 8.591, [](double t) { return tentacle(t, 2, 0); }},
      {"swarm m1", 14.0, 9.205, [](double t) { return tentacle(t, 0, 1); }},
      {"swarm m3", 28.499, -215.909, [](double t) { return tentacle(t, 1, 3); }},
      {"tentacles m0, low", 28.5, 2.25, [](double t) { return tentacle(t, 0, 0); }},
      {"tentacles m2, medium", 35.0, -2.25, [](double t) { return tentacle(t, 1, 2); }},
      {"tentacles m0, high", 30.0, -3.477, [](double t) { return tentacle(t, 2, 0); }},
      {"tentacles m1, high", 42.0, -15.75, [](double t) { return tentacle(t, 2, 1); }},
      {"tentacles m4, high", 40.0, 39.772, [](double t) { return tentacle(t, 2, 4); }},
      {"greets m0: 1.5 pt - 14.0625", 5.0, -6.5625, [](double t) { return greets(t, 0, 0); }},
      {"greets m0, medium as low", 5.0, -6.5625, [](double t) { return greets(t, 1, 0); }},
      {"greets m0, high: 1.25 pt - 11.71875", 5.0, -5.46875, [](double t) { return greets(t, 2, 0); }},
      {"greets m2, high", 1.0, -4.75, [](double t) { return greets(t, 2, 2); }},
      {"greets m3", 3.0, -236.842, [](double t) { return greets(t, 0, 3); }},
      {"greets flare x: 0.75 - 0.1179709 pt", 10.0, -0.429709, [](double t) { return greets(t, 0, 5); }},
      {"greets m0 flows into phase 2", 12.715 - 1e-6, 5.01, [](double t) { return greets(t, 0, 0); }},
      {"greets m0, phase 2", 12.715, 5.01, [](double t) { return greets(t, 0, 0); }},
      {"greets m0, phase 2, high", 20.0, 4.175, [](double t) { return greets(t, 2, 0); }},
      {"greets m3: 18 (pt - 12.715) - 236.842", 14.715, -200.842, [](double t) { return greets(t, 0, 3); }},
      {"greets flare x, phase 2", 13.0, -0.72, [](double t) { return greets(t, 1, 5); }},
      {"greets flare y: 0.487 - 0.125 (pt - 12.715)", 16.715, -0.013, [](double t) { return greets(t, 0, 6); }},
      {"greets m1 before the cut", 26.43 - 1e-6, 4.912, [](double t) { return greets(t, 0, 1); }},
      {"greets m1 cut to 24 - 1.5 w", 26.43, 24.0, [](double t) { return greets(t, 0, 1); }},
      {"greets m1, phase 3", 28.43, 21.0, [](double t) { return greets(t, 0, 1); }},
      {"greets m1, phase 3, high: 3.54 - 0.75 w", 28.43, 2.04, [](double t) { return greets(t, 2, 1); }},
      {"greets m0, phase 3", 30.0, -4.712, [](double t) { return greets(t, 0, 0); }},
      {"greets m0, phase 3, high", 30.0, -2.659, [](double t) { return greets(t, 2, 0); }},
      {"greets m2, phase 3", 30.0, -3.886, [](double t) { return greets(t, 0, 2); }},
      {"greets m3, phase 3, high", 30.0, 159.091, [](double t) { return greets(t, 2, 3); }},
      {"greets m4, phase 3", 30.0, 280.702, [](double t) { return greets(t, 0, 4); }},
      {"greets m4, phase 3, high", 30.43, 500.0, [](double t) { return greets(t, 2, 4); }},
      {"greets flare y: 0.25 + 0.125 w", 30.43, 0.75, [](double t) { return greets(t, 0, 6); }},
      {"red split, 0.01 x 0.258 P", 1.0, 0.00258, [](double p) { return double(rgbSplitOffsets(float(p)).red); }},
      {"green split: 0.01 x -0.34 P", 0.5, -0.0017, [](double p) { return double(rgbSplitOffsets(float(p)).green); }},
      {"blue split, constant", 0.7, 0.0001, [](double p) { return double(rgbSplitOffsets(float(p)).blue); }},
  };
  expectTable(rows);
}
