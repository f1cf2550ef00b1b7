// Test audio made on the spot: sine tones, written as 16-bit WAV or encoded to MP3 with lame.
// Does NOT write files: callers put the bytes where they need them (see temp_files.h).
#pragma once
#include <string>
#include <vector>

// Interleaved samples of a sine at `frequency` Hz, the same in every channel.
std::vector<float> sineTone(double frequency, double seconds, int rate, int channels, float amplitude);

// 16-bit PCM, or 32-bit float samples stored as they are (NaN included) when asFloat.
std::string wavBytes(const std::vector<float>& samples, int rate, int channels, bool asFloat = false);
// CBR MP3; withId3 adds ID3v1 and ID3v2 tags so the decoder has to skip them.
std::string mp3Bytes(const std::vector<float>& samples, int rate, int channels, bool withId3);
