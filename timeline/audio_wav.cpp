// A minimal RIFF/WAVE reader: PCM 16 and 24 bit and 32-bit float, mono or stereo, also in
// the extensible header; a data chunk cut short keeps the whole frames that are there.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "timeline/audio_decode.h"

namespace {

uint32_t le32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

struct WavFormat {
  int tag = 0;  // 1 PCM, 3 float
  int channels = 0;
  int rate = 0;
  int bits = 0;
};

bool readFormat(const unsigned char* p, uint32_t size, WavFormat& f) {
  if (size < 16) return false;
  f.tag = le16(p);
  f.channels = le16(p + 2);
  f.rate = static_cast<int>(le32(p + 4));
  f.bits = le16(p + 14);
  if (f.tag == 0xFFFE && size >= 26) f.tag = le16(p + 24);  // the sub-format GUID starts with the tag
  return true;
}

bool supported(const WavFormat& f) {
  const bool pcm = f.tag == 1 && (f.bits == 16 || f.bits == 24);
  const bool flt = f.tag == 3 && f.bits == 32;
  return (pcm || flt) && (f.channels == 1 || f.channels == 2) && f.rate > 0;
}

float sampleAt(const unsigned char* p, const WavFormat& f) {
  if (f.tag == 3) {
    float v;
    uint32_t bits = le32(p);
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  if (f.bits == 16) return static_cast<int16_t>(le16(p)) / 32768.0f;
  const int32_t v = static_cast<int32_t>((p[0] << 8) | (p[1] << 16) | (static_cast<uint32_t>(p[2]) << 24)) >> 8;
  return static_cast<float>(v) / 8388608.0f;
}

void readSamples(const unsigned char* p, size_t bytes, const WavFormat& f, DecodedAudio& out) {
  const size_t width = static_cast<size_t>(f.bits / 8);
  const size_t frames = bytes / (width * f.channels);
  out.sampleRate = f.rate;
  out.channels = f.channels;
  out.samples.resize(frames * f.channels);
  for (size_t i = 0; i < out.samples.size(); ++i) out.samples[i] = sampleAt(p + i * width, f);
}

}  // namespace

bool looksLikeWav(const unsigned char* data, size_t size) {
  return size >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WAVE", 4) == 0;
}

bool decodeWavBytes(const unsigned char* data, size_t size, DecodedAudio& out) {
  out = DecodedAudio{};
  if (!looksLikeWav(data, size)) return false;
  WavFormat format;
  bool haveFormat = false;
  for (size_t at = 12; at + 8 <= size;) {
    const uint32_t chunk = le32(data + at + 4);
    const unsigned char* body = data + at + 8;
    const size_t available = std::min<size_t>(chunk, size - at - 8);
    if (std::memcmp(data + at, "fmt ", 4) == 0) haveFormat = readFormat(body, static_cast<uint32_t>(available), format);
    if (std::memcmp(data + at, "data", 4) == 0) {
      if (!haveFormat || !supported(format)) return false;
      readSamples(body, available, format, out);
      return !out.samples.empty();
    }
    at += 8 + static_cast<size_t>(chunk) + (chunk & 1u);  // chunks are padded to even sizes
  }
  return false;
}
