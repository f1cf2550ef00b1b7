// Fade and pulse records started by the beat-sync handler and advanced once per frame.
// Owns: fades (writers: beatSyncHandler starts records, advanceFades moves them, the main loop
// and the seek clear `hold`). Does NOT upload anything: uploadSharedUniforms reads these values.
#pragma once

// Falls linearly with song time: value = startValue - (t - startTime) * rate.
struct TimeRamp {
  float startTime = 0.0f;
  float startValue = 0.0f;
  float rate = 0.0f;
  float value = 0.0f;
};

// Falls by `step` once per rendered frame while positive.
struct FrameDecay {
  float value = 0.0f;
  float step = 0.0f;
};

struct FadeRecords {
  TimeRamp fadeToWhite;
  bool whiteActive = false;
  TimeRamp fadeToBlack;
  bool blackActive = false;
  bool hold = false;  // a held fade to black stays active until a part change, seek or action 4/11
  TimeRamp fadeFromBlack;  // filled by action 11; nothing activates or reads it
  bool fadeFromBlackActive = false;
  TimeRamp lerp1;
  TimeRamp lerp3;
  TimeRamp introPulse;  // read directly by the ambient intro scene as the bokeh radius
  FrameDecay lerp2;
  FrameDecay lightPulse;  // uploaded as lightAdd = 2 x value
  FrameDecay crtPulse;    // uploaded as crt_mix = 1 - 0.5 x value
  float fadeToWhiteValue = 0.0f;
  float fadeToBlackValue = 0.0f;
};

extern FadeRecords fades;

// Advances every ramp, fade and decay for the frame at song time t, in the fixed order.
void advanceFades(float t);
