// Private to the audio layer: the 512-bin magnitude spectrum of one block of samples.
// Does NOT allocate after its first call, so the live stream may call it on any thread.
#pragma once
#include <cstddef>

// The 1024 mono-mixed frames ending just before `endFrame` of an interleaved buffer.
void analyseSpectrum(const float* interleaved, size_t frames, int channels, size_t endFrame, float out[512]);
