// Reading a music file whole, choosing its decoder, and shaping the result for the device.
#include "timeline/audio_decode.h"

#include <cmath>
#include <cstdio>

bool readAudioFileBytes(const char* path, uint64_t offset, uint64_t length, std::vector<unsigned char>& out) {
  out.clear();
  if (!path) return false;
  FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(file) : -1;
  ok = ok && size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  const uint64_t total = ok ? static_cast<uint64_t>(size) : 0;
  const uint64_t start = std::min(offset, total);
  const uint64_t count = length == 0 ? total - start : std::min(length, total - start);
  if (ok && count > 0) {
    out.resize(static_cast<size_t>(count));
    ok = std::fseek(file, static_cast<long>(start), SEEK_SET) == 0 &&
         std::fread(out.data(), 1, out.size(), file) == out.size();
  }
  // A directory opens but does not read: that counts as a file that cannot be opened.
  ok = ok && !std::ferror(file);
  std::fclose(file);
  if (!ok) out.clear();
  return ok;
}

AudioDecodeResult decodeAudioBytes(const unsigned char* data, size_t size, DecodedAudio& out) {
  const bool ok = looksLikeWav(data, size) ? decodeWavBytes(data, size, out) : decodeMp3Bytes(data, size, out);
  return ok ? AudioDecodeResult::ok : AudioDecodeResult::noAudio;
}

bool decodeAudioFile(const char* path, DecodedAudio& out) {
  std::vector<unsigned char> bytes;
  out = DecodedAudio{};
  if (!readAudioFileBytes(path, 0, 0, bytes)) return false;
  return decodeAudioBytes(bytes.data(), bytes.size(), out) == AudioDecodeResult::ok;
}

namespace {

float channelSample(const DecodedAudio& audio, size_t frame, int channel) {
  return audio.samples[frame * audio.channels + std::min(channel, audio.channels - 1)];
}

}  // namespace

std::vector<float> toStereoAtRate(const DecodedAudio& audio, int rate) {
  if (audio.channels <= 0 || audio.sampleRate <= 0 || rate <= 0) return {};
  const size_t inFrames = audio.samples.size() / audio.channels;
  if (inFrames == 0) return {};
  const double step = static_cast<double>(audio.sampleRate) / rate;
  const size_t outFrames = audio.sampleRate == rate ? inFrames : static_cast<size_t>(inFrames / step);
  std::vector<float> out(outFrames * 2);
  for (size_t j = 0; j < outFrames; ++j) {
    const double at = j * step;
    const size_t i = std::min(static_cast<size_t>(at), inFrames - 1);
    const size_t next = std::min(i + 1, inFrames - 1);
    const float frac = static_cast<float>(at - std::floor(at));
    for (int c = 0; c < 2; ++c)
      out[j * 2 + c] = channelSample(audio, i, c) * (1.0f - frac) + channelSample(audio, next, c) * frac;
  }
  return out;
}
