// Private to the audio layer: turning file bytes into interleaved float samples and
// reshaping them for the output device (rate and channel count).
// Does NOT play or analyse anything, and keeps no state between calls.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "timeline/audio.h"

enum class AudioDecodeResult { ok, cannotOpen, noAudio };

// Sample rates outside this range are refused: below it there is no music to speak of, above
// it a header is lying, and either would make the rate conversion size absurd buffers.
constexpr int minDecodedRate = 8000;
constexpr int maxDecodedRate = 384000;
// Decoding stops after this much audio: the demo needs 259 s, and a damaged or hostile file
// must not be able to fill the memory.
constexpr double maxDecodedSeconds = 3600.0;

// Reads `length` bytes from `offset` (0 = to the end of the file) of a regular file; a folder,
// a FIFO, a device or a file over maxAudioFileBytes counts as one that cannot be read, and
// none of them is waited on.
constexpr uint64_t maxAudioFileBytes = 512ull << 20;
bool readAudioFileBytes(const char* path, uint64_t offset, uint64_t length, std::vector<unsigned char>& out);

// Files that libsndfile reads (WAV, AIFF, FLAC, Ogg...) go to it; MPEG audio and anything it
// does not know go to libmpg123. The result is refused when its rate is out of range; samples
// that are not finite numbers become silence, with one line saying how many.
AudioDecodeResult decodeAudioBytes(const unsigned char* data, size_t size, DecodedAudio& out);
bool decodeMp3Bytes(const unsigned char* data, size_t size, DecodedAudio& out);
enum class SndfileResult { decoded, notMine, failed };
SndfileResult decodeSndfileBytes(const unsigned char* data, size_t size, DecodedAudio& out);

// Interleaved stereo at `rate`: mono is doubled, more channels keep the first two, and a
// different source rate is converted by libsamplerate's band-limited sinc converter.
std::vector<float> toStereoAtRate(const DecodedAudio& audio, int rate);
