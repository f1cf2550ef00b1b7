// What the studio writes over the picture, as lines of text: the timing block (song and part
// time, frame rate, CPU frame time, GPU time per pass), the key help and the reload status.
// Owns: the wording and layout of those lines. Does NOT draw: studio/overlay_text does.
#pragma once
#include <string>
#include <vector>

#include "studio/loop.h"
#include "timing/timer_ring.h"
#include "studio/overlay_text.h"

struct TimingView {
  float songTime = 0.0f;
  int partIndex = 0;
  std::string partName;
  float partTime = 0.0f;
  double framesPerSecond = 0.0;
  double cpuMilliseconds = 0.0;
  bool gpuTiming = true;             // false when the context has no timestamp queries
  std::vector<PassTime> passes;      // the newest measured frame
  bool paused = false;
  float speed = 1.0f;
  LoopState loop;
  std::string exportProgress;  // "captures/x.mp4 frame 120/600 (20%)" while an export runs
};

std::vector<OverlayLine> timingLines(const TimingView& view);
std::vector<OverlayLine> helpLines();

// One status line: white for news, red for an error the user should fix.
OverlayLine statusLine(const std::string& text, bool error);
