// The frame benchmark's walk over the parts: from the middle of each part, a few warm-up frames
// and then `frames` measured ones 1/60 s apart, each drawn the way the offline renderer draws it
// (the timeline placed by a seek, the spectrum read at the frame's time) with GPU stamps around
// every pass. One frame per call, so that a browser, whose timer results appear only after it
// regains control, can run it from its frame loop; a desktop reads each frame at once.
// Owns: the pass timing hook while it lives (writer: this run), the program names, the timings.
// Does NOT open a display, build programs or print: the caller does, feeding `names` from its
// build hook.
#pragma once
#include <string>
#include <vector>

#include "timeline/music.h"
#include "timing/bench_report.h"
#include "timing/pass_names.h"
#include "timing/timer_ring.h"

class BenchRun {
 public:
  BenchRun(QueryBackend& queries, const DecodedAudio& music, int frames);
  ~BenchRun();
  BenchRun(const BenchRun&) = delete;
  BenchRun& operator=(const BenchRun&) = delete;

  ProgramNames names;

  // Draws the next frame and waits for the GPU to finish it; false once every part is measured.
  bool drawNext();
  // Reads the stamps of the frame just drawn; false while they are not available yet.
  bool collectDrawn();
  // The parts measured so far, the last one possibly still in progress.
  const std::vector<PartTiming>& parts() const { return parts_; }

 private:
  static void markPass(void* context, PassKind kind, uint32_t programId, bool begin);
  void startPart(size_t index);

  const DecodedAudio& music_;
  TimerRing ring_;
  int frames_;
  std::vector<PartTiming> parts_;
  size_t part_ = 0;           // the part being measured; the part count once done
  int frame_ = 0;             // frames drawn of that part, warm-up included
  float middle_ = 0.0f;       // the song time of its first frame
  long ringFrame_ = -1;       // the ring's number for the frame just drawn
  double wall_ = 0.0;         // its wall milliseconds, waiting for the GPU included
  bool awaiting_ = false;     // drawn and measured, stamps not read yet
};

// The heading above the table: the renderer, the settings and the song times sampled.
std::string benchHeading(const std::string& renderer, int frames, const std::vector<PartTiming>& parts);
