// The studio's transport over the demo's song clock: pause and resume of picture and music,
// speed, frame steps, seeks, part jumps and the loop, and each frame's clock (the held time
// while paused, the loop's wrap, the pause at the end point).
// Owns: the play state (paused, speed, loop, end reached). Does NOT draw nor decide when a
// paused picture is drawn again: it only says that a seek happened (takeMoved).
// Writes the demo's process-wide song position, part and sync cursor exactly where the demo's
// loop and seek do, and the music stream's position, pause and rate.
#pragma once
#include "studio/keys.h"
#include "studio/loop.h"
#include "studio/overlay.h"
#include "studio/status_line.h"

class Playback {
 public:
  explicit Playback(StatusLine& status) : status_(status) {}

  // Seeks to `t` and starts the music there.
  void playFrom(float t);
  // Carries out the transport's commands; false for every other command.
  bool apply(const StudioAction& action);
  // `byUser`: a part loop follows the seek to the part it lands in (a loop's own wrap does not).
  void seekTo(float t, bool byUser);
  // Once a frame, before it is drawn.
  void advanceClock();
  // True once after each seek: the picture a paused studio keeps is stale then.
  bool takeMoved();

  float songTime() const;
  bool paused() const { return paused_; }
  const LoopState& loop() const { return loop_; }
  // The transport's half of the timing block: times, part, paused, speed, loop.
  TimingView view() const;

 private:
  void pause();
  void resume();
  void stepFrame(int direction);
  void changeSpeed(bool faster);
  void jumpToPart(int index);

  StatusLine& status_;
  LoopState loop_;
  bool paused_ = false;
  float speed_ = 1.0f;
  bool atEnd_ = false;
  float pausedAt_ = 0.0f;
  bool moved_ = false;
};
