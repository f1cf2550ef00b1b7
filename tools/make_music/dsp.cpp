// The stereo buffer's allocation.
#include "tools/make_music/dsp.h"

StereoBuffer makeStereoBuffer(size_t frames) { return {std::vector<float>(frames, 0.0f), std::vector<float>(frames, 0.0f)}; }
