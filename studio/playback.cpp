// The transport: commands, seeks and the per-frame clock.
#include "studio/playback.h"

#include "render/shared_uniforms.h"
#include "studio/transport.h"
#include "timeline/audio.h"
#include "timeline/beat_sync.h"
#include "timeline/demo_state.h"
#include "timeline/music.h"
#include "timeline/seek.h"

void Playback::playFrom(float t) {
  seekTo(t, true);
  audioChannelPlay(musicStream, false);
}

bool Playback::apply(const StudioAction& action) {
  const float t = songTime();
  switch (action.command) {
    case StudioCommand::TogglePause: paused_ ? resume() : pause(); return true;
    case StudioCommand::Seek: seekTo(t + action.seconds, true); return true;
    case StudioCommand::StepFrame: stepFrame(action.part); return true;
    case StudioCommand::SlowDown: changeSpeed(false); return true;
    case StudioCommand::SpeedUp: changeSpeed(true); return true;
    case StudioCommand::PreviousPart: jumpToPart(partIndexAt(demoTimeline, t) - 1); return true;
    case StudioCommand::NextPart: jumpToPart(partIndexAt(demoTimeline, t) + 1); return true;
    case StudioCommand::JumpToPart: jumpToPart(action.part); return true;
    case StudioCommand::ToggleLoop: toggleLoop(loop_, t, demoTimeline); return true;
    case StudioCommand::MarkLoopIn: markLoopIn(loop_, t, demoTimeline); return true;
    case StudioCommand::MarkLoopOut: markLoopOut(loop_, t, demoTimeline); return true;
    default: return false;
  }
}

void Playback::seekTo(float t, bool byUser) {
  const SeekLanding landing = seekLanding(t, demoTimeline, beatSync.items);
  applySeek(landing);
  if (byUser) followSeek(loop_, landing.time, demoTimeline);
  if (landing.time < demoEndTime) atEnd_ = false;
  if (paused_) pausedAt_ = landing.time;
  moved_ = true;
}

// Page Down in the last part stays where it is; Page Up in the first goes to its start.
void Playback::jumpToPart(int index) {
  if (index < static_cast<int>(demoTimeline.size())) seekTo(partStartTime(demoTimeline, index), true);
}

void Playback::advanceClock() {
  if (paused_) {
    sharedUniforms.songPosition = pausedAt_;
  } else {
    const float t = readSongPosition();
    if (const auto wrap = loopWrap(loop_, t)) {
      seekTo(*wrap, false);
    } else if (t > demoEndTime) {
      pause();
      atEnd_ = true;
      status_.show("end of the demo: Space plays it again from the start", false);
    }
  }
  advanceDemoPart(sharedUniforms.songPosition);
}

bool Playback::takeMoved() {
  const bool moved = moved_;
  moved_ = false;
  return moved;
}

float Playback::songTime() const { return sharedUniforms.songPosition; }

TimingView Playback::view() const {
  TimingView view;
  view.songTime = songTime();
  view.partIndex = demoState.currentPartIndex;
  view.partName = partNameOf(demoTimeline, view.partIndex);
  view.partTime = songTime() - sharedUniforms.partStart;
  view.paused = paused_;
  view.speed = speed_;
  view.loop = loop_;
  return view;
}

void Playback::pause() {
  if (paused_) return;
  audioChannelPause(musicStream);
  paused_ = true;
  pausedAt_ = sharedUniforms.songPosition;
}

void Playback::resume() {
  if (!paused_) return;
  paused_ = false;
  // Playing on after the end point starts the demo again.
  if (atEnd_) seekTo(0.0f, true);
  else audioChannelSetPosition(musicStream, audioChannelSeconds2Bytes(musicStream, pausedAt_), audioPosByte);
  audioChannelPlay(musicStream, false);
}

void Playback::stepFrame(int direction) {
  pause();
  seekTo(steppedFrameTime(songTime(), direction), true);
}

// The song clock is the audio position, so the picture follows the sound's rate.
void Playback::changeSpeed(bool faster) {
  speed_ = nextSpeed(speed_, faster);
  audioChannelSetRate(musicStream, speed_);
  status_.show("speed " + speedText(speed_), false);
}
