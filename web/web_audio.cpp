// The audio contract of timeline/audio.h in the browser: the page decodes the track with Web
// Audio (decodeAudioData at 44100 Hz, so the spectrum sees the desktop's samples) before the
// module starts; this side keeps a copy of the samples for the spectrum, and the page plays
// them through an AudioBufferSourceNode whose start time gives the audible position.
// Built into the timeline room in place of the desktop's SDL, mpg123 and libsndfile files.
// Does NOT fetch or decode anything itself, and never blocks: every call returns at once.
#include <emscripten.h>

#include <algorithm>
#include <vector>

#include "timeline/audio.h"
#include "timeline/audio_fft.h"

namespace {

constexpr int outputChannels = 2;
constexpr uint64_t bytesPerFrame = sizeof(float) * outputChannels;

struct WebStream {
  DecodedAudio audio;  // interleaved stereo at the page's decoding rate
  uint64_t frames = 0;
};

std::vector<WebStream> streams;  // handle = index + 1
int lastError = audioOk;

bool fail(int code) {
  lastError = code;
  return false;
}

WebStream* findStream(AudioStream handle) {
  if (handle == 0 || handle > streams.size()) return nullptr;
  return &streams[handle - 1];
}

double rateOf(const WebStream& stream) { return stream.audio.sampleRate; }

}  // namespace

// The page's side (web/page/tarvik.js, Module.tarvikSound): the decoded track and its player.
EM_JS(int, webMusicRate, (), { return Module.tarvikSound ? Module.tarvikSound.rate() : 0; });
EM_JS(int, webMusicFrames, (), { return Module.tarvikSound ? Module.tarvikSound.frames() : 0; });
EM_JS(void, webMusicCopy, (float* interleaved), { Module.tarvikSound.copyInto(HEAPF32, interleaved >> 2); });
EM_JS(void, webSoundPlay, (double fromSeconds, double rate), { Module.tarvikSound.play(fromSeconds, rate); });
EM_JS(void, webSoundPause, (), { Module.tarvikSound.pause(); });
EM_JS(double, webSoundPosition, (), { return Module.tarvikSound.position(); });
EM_JS(void, webSoundSeek, (double seconds), { Module.tarvikSound.seek(seconds); });
EM_JS(void, webSoundRate, (double rate), { Module.tarvikSound.setRate(rate); });

bool decodeAudioFile(const char*, DecodedAudio& out) {
  out = DecodedAudio{};
  const int frames = webMusicFrames();
  if (frames <= 0 || webMusicRate() <= 0) return false;
  out.sampleRate = webMusicRate();
  out.channels = outputChannels;
  out.samples.resize(static_cast<size_t>(frames) * outputChannels);
  webMusicCopy(out.samples.data());
  return true;
}

uint32_t audioGetVersion() { return 0x02040000u; }
int audioErrorGetCode() { return lastError; }
bool audioInit(int, uint32_t, uint32_t) { return true; }

AudioStream audioStreamCreateFile(bool, const char* file, uint64_t, uint64_t, uint32_t) {
  WebStream stream;
  if (!decodeAudioFile(file, stream.audio)) return fail(audioErrorFormat);
  stream.frames = stream.audio.samples.size() / outputChannels;
  streams.push_back(std::move(stream));
  lastError = audioOk;
  return static_cast<AudioStream>(streams.size());
}

uint64_t audioChannelGetLength(AudioStream handle, uint32_t) {
  const WebStream* stream = findStream(handle);
  return stream ? stream->frames * bytesPerFrame : fail(audioErrorHandle);
}

double audioChannelBytes2Seconds(AudioStream handle, uint64_t bytes) {
  const WebStream* stream = findStream(handle);
  if (!stream) {
    fail(audioErrorHandle);
    return -1.0;
  }
  return static_cast<double>(bytes / bytesPerFrame) / rateOf(*stream);
}

uint64_t audioChannelSeconds2Bytes(AudioStream handle, double seconds) {
  const WebStream* stream = findStream(handle);
  if (!stream) return fail(audioErrorHandle);
  return static_cast<uint64_t>(std::max(0.0, seconds) * rateOf(*stream) + 0.5) * bytesPerFrame;
}

bool audioChannelSetPosition(AudioStream handle, uint64_t bytes, uint32_t) {
  const WebStream* stream = findStream(handle);
  if (!stream) return fail(audioErrorHandle);
  if (bytes / bytesPerFrame > stream->frames) return fail(audioErrorPosition);
  webSoundSeek(static_cast<double>(bytes / bytesPerFrame) / rateOf(*stream));
  return true;
}

bool audioChannelPlay(AudioStream handle, bool restart) {
  if (!findStream(handle)) return fail(audioErrorHandle);
  webSoundPlay(restart ? 0.0 : webSoundPosition(), 1.0);
  return true;
}

// The page counts on past the track's end, as the desktop's silence does.
uint64_t audioChannelGetPosition(AudioStream handle, uint32_t) {
  const WebStream* stream = findStream(handle);
  if (!stream) return fail(audioErrorHandle);
  return static_cast<uint64_t>(std::max(0.0, webSoundPosition()) * rateOf(*stream)) * bytesPerFrame;
}

uint32_t audioChannelGetData(AudioStream handle, float* buffer, uint32_t mode) {
  const WebStream* stream = findStream(handle);
  if (!stream || !buffer || mode != audioDataFft1024) {
    fail(stream ? audioErrorFormat : audioErrorHandle);
    return audioDataFailed;
  }
  const uint64_t frame = audioChannelGetPosition(handle, audioPosByte) / bytesPerFrame;
  analyseSpectrum(stream->audio.samples.data(), stream->frames, outputChannels, frame, buffer);
  return 512 * sizeof(float);
}

bool audioChannelPause(AudioStream handle) {
  if (!findStream(handle)) return fail(audioErrorHandle);
  webSoundPause();
  return true;
}

bool audioChannelSetRate(AudioStream handle, double rate) {
  if (!findStream(handle) || !(rate >= 0.125 && rate <= 8.0)) return fail(audioErrorPosition);
  webSoundRate(rate);
  return true;
}

bool audioChannelOnWallClock(AudioStream) { return false; }

bool audioFree() {
  if (!streams.empty()) webSoundPause();
  streams.clear();
  return true;
}
