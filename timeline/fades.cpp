// Per-frame advance of the fades and pulses.
#include "timeline/fades.h"

#include <iostream>

namespace {

// Once at or below zero a ramp keeps its last value until an action restarts it.
void advanceRamp(TimeRamp& ramp, float t) {
  if (ramp.value > 0.0f) ramp.value = ramp.startValue - (t - ramp.startTime) * ramp.rate;
}

float rampAt(const TimeRamp& ramp, float t) { return ramp.startValue - (t - ramp.startTime) * ramp.rate; }

void advanceDecay(FrameDecay& decay) {
  if (decay.value > 0.0f) decay.value -= decay.step;
}

void advanceFadeToWhite(float t) {
  if (!fades.whiteActive) {
    fades.fadeToWhiteValue = 0.0f;
    return;
  }
  const float f = rampAt(fades.fadeToWhite, t);
  fades.fadeToWhiteValue = 1.0f - f;
  if (f < 0.0f) fades.whiteActive = false;
}

void advanceFadeToBlack(float t) {
  if (!fades.blackActive) {
    fades.fadeToBlackValue = 0.0f;
    return;
  }
  const float f = rampAt(fades.fadeToBlack, t);
  fades.fadeToBlackValue = 1.0f - f;
  if (f < 0.0f) {
    fades.blackActive = fades.hold;
    std::cout << "FadeDone: " << (t - fades.fadeToBlack.startTime) << " ftbdone: " << t << "\n";
  }
}

}  // namespace

void advanceFades(float t) {
  advanceRamp(fades.lerp1, t);
  advanceRamp(fades.lerp3, t);
  advanceRamp(fades.introPulse, t);
  advanceFadeToWhite(t);
  advanceFadeToBlack(t);
  advanceDecay(fades.lerp2);
  advanceDecay(fades.lightPulse);
  advanceDecay(fades.crtPulse);
}
