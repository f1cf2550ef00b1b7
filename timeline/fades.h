// The once-per-frame advance of the fade and pulse records (render/fade_records.h).
// Does NOT upload anything: uploadSharedUniforms reads the records.
#pragma once

#include "render/fade_records.h"

// Advances every ramp, fade and decay for the frame at song time t, in the fixed order. The
// fade-from-black record stays as its action filled it: nothing activates it.
void advanceFades(float t);
