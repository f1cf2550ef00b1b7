// A span of the decoded music written as a canonical 44-byte-header PCM WAV.
#include "capture/sound_span.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

void putLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

int16_t toPcm16(float sample) {
  const float clamped = sample > 1.0f ? 1.0f : sample < -1.0f ? -1.0f : sample;
  return static_cast<int16_t>(std::lround(clamped * 32767.0f));
}

}  // namespace

std::vector<uint8_t> wavBytesForSpan(const DecodedAudio& audio, double from, double to) {
  if (audio.sampleRate <= 0 || audio.channels <= 0) return {};
  const long long first = std::llround(from * audio.sampleRate);
  const long long last = std::llround(to * audio.sampleRate);
  const long long frames = last > first ? last - first : 0;
  const long long available = static_cast<long long>(audio.samples.size()) / audio.channels;
  const uint32_t dataBytes = static_cast<uint32_t>(frames * audio.channels * 2);

  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  for (char c : std::string("RIFF")) out.push_back(static_cast<uint8_t>(c));
  putLe(out, 36 + dataBytes, 4);
  for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<uint8_t>(c));
  putLe(out, 16, 4);                                               // fmt chunk size
  putLe(out, 1, 2);                                                // PCM
  putLe(out, audio.channels, 2);
  putLe(out, audio.sampleRate, 4);
  putLe(out, static_cast<uint32_t>(audio.sampleRate * audio.channels * 2), 4);  // bytes per second
  putLe(out, audio.channels * 2, 2);                               // bytes per frame
  putLe(out, 16, 2);                                               // bits per sample
  for (char c : std::string("data")) out.push_back(static_cast<uint8_t>(c));
  putLe(out, dataBytes, 4);
  for (long long f = first; f < first + frames; ++f)
    for (int c = 0; c < audio.channels; ++c) {
      const float sample = f >= 0 && f < available ? audio.samples[f * audio.channels + c] : 0.0f;
      putLe(out, static_cast<uint16_t>(toPcm16(sample)), 2);
    }
  return out;
}

bool writeWavSpan(const DecodedAudio& audio, double from, double to, const std::string& path, std::string& error) {
  const std::vector<uint8_t> bytes = wavBytesForSpan(audio, from, to);
  if (bytes.empty()) {
    error = "the music has no samples";
    return false;
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int writeErrno = errno;
  const bool closed = std::fclose(file) == 0;
  if (written && closed) return true;
  error = "cannot write " + path + ": " + std::strerror(written ? errno : writeErrno);
  std::remove(path.c_str());
  return false;
}
