// Per-pass GPU times from timestamp queries kept in a ring of a few frames: a frame's stamps
// are read only once all of them are available, so measuring never makes the CPU wait on the
// GPU. A frame that finds no free slot in the ring is simply not measured.
// Owns: the query objects (through the backend), the ring's slots and the latest result.
// Does NOT issue GL calls itself: a QueryBackend does (timing/timer_queries.h).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "timing/timer_queries.h"

struct PassTime {
  std::string name;
  double milliseconds = 0.0;
};

class TimerRing {
 public:
  explicit TimerRing(QueryBackend& backend, int frames = 3);

  // Collects finished frames, then takes a free slot for this frame (or measures nothing).
  void beginFrame();
  // Stamps the start or end of a pass of the frame being measured.
  void markPass(const std::string& name, bool begin);
  void endFrame();
  // Reads every pending frame whose stamps are all available, oldest first.
  void collect();

  // The passes of the newest frame read back, in drawing order; empty before the first.
  const std::vector<PassTime>& latest() const { return latest_; }
  // Which frame (counted from 0 by beginFrame) `latest` belongs to; -1 before the first.
  long latestFrame() const { return latestFrame_; }
  long skippedFrames() const { return skipped_; }

 private:
  struct Mark {
    std::string name;
    uint32_t begin = 0;
    uint32_t end = 0;
    bool ended = false;
  };
  struct Slot {
    enum class State { Free, Recording, Pending } state = State::Free;
    long frame = -1;
    std::vector<uint32_t> queries;  // the slot's pool, reused frame after frame
    size_t used = 0;
    std::vector<Mark> marks;
  };

  uint32_t nextQuery(Slot& slot);
  bool allAvailable(const Slot& slot);
  void publish(Slot& slot);

  QueryBackend& backend_;
  std::vector<Slot> slots_;
  Slot* recording_ = nullptr;
  long frameCounter_ = 0;
  long skipped_ = 0;
  std::vector<PassTime> latest_;
  long latestFrame_ = -1;
};
