// Fade and pulse records: the values behind the fade, flash and pulse uniforms.
// Owns: the record types and `fades`. Writers: the beat-sync handler starts records, advanceFades
// (timeline/fades.h) moves them, the main loop and the seek clear `hold`. Readers:
// uploadSharedUniforms derives its fade uniforms from them, and a few scenes read them directly.
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
  bool hold = false;  // a held fade to black stays active until a part change, a seek, or a
                      // FadeToBlack or FadeFromBlack action
  TimeRamp fadeFromBlack;  // filled by a FadeFromBlack action; nothing activates, advances or reads it
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
