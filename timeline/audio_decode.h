// Private to the audio layer: turning file bytes into interleaved float samples and
// reshaping them for the output device (rate and channel count).
// Does NOT play or analyse anything, and keeps no state between calls.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "timeline/audio.h"

enum class AudioDecodeResult { ok, cannotOpen, noAudio };

// Reads `length` bytes from `offset` (0 = to the end of the file).
bool readAudioFileBytes(const char* path, uint64_t offset, uint64_t length, std::vector<unsigned char>& out);

// RIFF/WAVE bytes go to the WAV reader, everything else to the MP3 decoder.
AudioDecodeResult decodeAudioBytes(const unsigned char* data, size_t size, DecodedAudio& out);
bool decodeMp3Bytes(const unsigned char* data, size_t size, DecodedAudio& out);
bool decodeWavBytes(const unsigned char* data, size_t size, DecodedAudio& out);
bool looksLikeWav(const unsigned char* data, size_t size);

// Interleaved stereo at `rate`: mono is doubled, more channels keep the first two, and a
// different source rate is resampled linearly.
std::vector<float> toStereoAtRate(const DecodedAudio& audio, int rate);
