// Tone, WAV and MP3 fixtures for the audio tests.
#include "tests/support/audio_fixtures.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

void putLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

int16_t toPcm16(float sample) {
  return static_cast<int16_t>(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
}

}  // namespace

std::vector<float> sineTone(double frequency, double seconds, int rate, int channels, float amplitude) {
  const size_t frames = static_cast<size_t>(seconds * rate);
  std::vector<float> out(frames * channels);
  for (size_t i = 0; i < frames; ++i) {
    const float value = amplitude * static_cast<float>(std::sin(2.0 * std::numbers::pi * frequency * i / rate));
    for (int c = 0; c < channels; ++c) out[i * channels + c] = value;
  }
  return out;
}

std::string wavBytes(const std::vector<float>& samples, int rate, int channels, bool asFloat) {
  const int sampleBytes = asFloat ? 4 : 2;
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * sampleBytes);
  std::string out = "RIFF";
  putLittleEndian(out, 36 + dataBytes, 4);
  out += "WAVEfmt ";
  putLittleEndian(out, 16, 4);
  putLittleEndian(out, asFloat ? 3 : 1, 2);  // IEEE float or PCM
  putLittleEndian(out, channels, 2);
  putLittleEndian(out, rate, 4);
  putLittleEndian(out, rate * channels * sampleBytes, 4);
  putLittleEndian(out, channels * sampleBytes, 2);
  putLittleEndian(out, sampleBytes * 8, 2);
  out += "data";
  putLittleEndian(out, dataBytes, 4);
  for (float s : samples) {
    if (asFloat) out.append(reinterpret_cast<const char*>(&s), sizeof s);
    else putLittleEndian(out, static_cast<uint16_t>(toPcm16(s)), 2);
  }
  return out;
}

std::string mp3Bytes(const std::vector<float>& samples, int rate, int channels, bool withId3) {
  lame_global_flags* lame = lame_init();
  lame_set_in_samplerate(lame, rate);
  lame_set_out_samplerate(lame, rate);
  lame_set_num_channels(lame, channels);
  lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
  lame_set_brate(lame, 128);
  if (withId3) {
    id3tag_init(lame);
    id3tag_add_v2(lame);
    id3tag_set_title(lame, "test tone");
    id3tag_set_artist(lame, "tarvik tests");
  }
  lame_set_write_id3tag_automatic(lame, withId3 ? 1 : 0);
  std::string out;
  if (lame_init_params(lame) < 0) {
    lame_close(lame);
    return out;
  }
  const int frames = static_cast<int>(samples.size() / channels);
  std::vector<short> pcm(samples.size());
  for (size_t i = 0; i < samples.size(); ++i) pcm[i] = toPcm16(samples[i]);
  std::vector<unsigned char> buffer(static_cast<size_t>(1.25 * frames + 7200 + 16384));
  int n = channels == 1 ? lame_encode_buffer(lame, pcm.data(), pcm.data(), frames, buffer.data(), buffer.size())
                        : lame_encode_buffer_interleaved(lame, pcm.data(), frames, buffer.data(), buffer.size());
  if (n > 0) out.append(reinterpret_cast<char*>(buffer.data()), n);
  n = lame_encode_flush(lame, buffer.data(), buffer.size());
  if (n > 0) out.append(reinterpret_cast<char*>(buffer.data()), n);
  lame_close(lame);
  return out;
}
