// Our audio layer: decode (libmpg123, WAV too), play (SDL2 audio) and analyse (kissfft) one
// music stream, with the call contract the demo's music clock and frame step rely on.
// Owns: the output device, the decoded streams, the callback thread's atomics.
// Does NOT know about song parts, sync or GL. Results follow the contract: 0 / false / -1 on
// failure with audioErrorGetCode() telling why.
#pragma once
#include <cstdint>
#include <vector>

using AudioStream = uint32_t;  // 0 is never a valid stream

constexpr uint32_t audioPosByte = 0;                  // positions and lengths in bytes
constexpr uint32_t audioDataFft1024 = 0x80000002u;    // audioChannelGetData: 512 FFT magnitudes
constexpr uint32_t audioDataFailed = 0xFFFFFFFFu;     // audioChannelGetData failure result
constexpr uint32_t audioStreamAutoFree = 0x40000u;
constexpr uint32_t audioStreamFlagsWholeFile = 0x48000u;  // the flags the demo passes

// Error codes returned by audioErrorGetCode.
enum AudioError : int {
  audioOk = 0,
  audioErrorFileOpen = 2,  // the file could not be opened
  audioErrorFormat = 6,    // not decodable / decodes to nothing
  audioErrorInit = 8,      // audioInit has not been called successfully
  audioErrorDevice = 23,   // no usable output device
  audioErrorHandle = 5,    // invalid stream handle
  audioErrorPosition = 7,  // position out of range
};

uint32_t audioGetVersion();  // high 16 bits are 0x0204
int audioErrorGetCode();
bool audioInit(int device, uint32_t frequency, uint32_t flags);  // device -1 = default
AudioStream audioStreamCreateFile(bool fromMemory, const char* file, uint64_t offset, uint64_t length,
                                  uint32_t flags);
uint64_t audioChannelGetLength(AudioStream stream, uint32_t mode);
double audioChannelBytes2Seconds(AudioStream stream, uint64_t bytes);
uint64_t audioChannelSeconds2Bytes(AudioStream stream, double seconds);
bool audioChannelSetPosition(AudioStream stream, uint64_t bytes, uint32_t mode);
bool audioChannelPlay(AudioStream stream, bool restart);
// The audible position: bytes handed to the device minus what still waits in its buffer.
uint64_t audioChannelGetPosition(AudioStream stream, uint32_t mode);
// With audioDataFft1024 writes 512 magnitudes to `buffer` and returns the bytes written;
// returns audioDataFailed on failure.
uint32_t audioChannelGetData(AudioStream stream, float* buffer, uint32_t mode);
bool audioChannelPause(AudioStream stream);
// Plays the stream at `rate` times its speed (1/8 to 8), pitch and all, like a tape; the
// position follows. False for a bad handle or rate.
bool audioChannelSetRate(AudioStream stream, double rate);
// True once the output device stopped pulling samples and the stream's position follows the
// wall clock instead (it goes on from where it stood; it never switches back).
bool audioChannelOnWallClock(AudioStream stream);
// Safe also when audioInit never succeeded. False when the device's thread is stuck in its
// driver and was left running: the caller must not shut SDL's audio down (SDL_Quit would
// wait for that thread forever).
bool audioFree();

// Offline analysis, shared with the live stream so both give the same spectrum.
struct DecodedAudio {
  int sampleRate = 0;
  int channels = 0;
  std::vector<float> samples;  // interleaved, -1..1
};
// Decodes a whole MP3 (or WAV) file; false when it cannot be opened or decodes to nothing.
bool decodeAudioFile(const char* path, DecodedAudio& out);
// The 512-bin spectrum of the 1024 mono-mixed samples ending at `seconds`.
void spectrumAt(const DecodedAudio& audio, double seconds, float out[512]);
