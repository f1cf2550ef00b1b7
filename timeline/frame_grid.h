// The frame grid of a run whose clock is a frame counter (the offline renderer, the studio's
// export, the browser's stills): frame k stands at song time k / fps.
#pragma once
#include <cmath>

// The frame clock unless told otherwise.
constexpr double defaultFramesPerSecond = 60.0;

// The last frame at or before `seconds`, and the first frame at or after it (a time a hair off
// a frame's own time counts as that frame's).
inline long frameAtOrBefore(double seconds, double fps) { return static_cast<long>(std::floor(seconds * fps + 1e-6)); }
inline long frameAtOrAfter(double seconds, double fps) { return static_cast<long>(std::ceil(seconds * fps - 1e-6)); }
