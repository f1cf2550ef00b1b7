// MP3 decoding with libmpg123 from bytes in memory, always to 32-bit float.
#include <mpg123.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "timeline/audio_decode.h"

namespace {

// The decoder reads the bytes through this cursor so that it knows the stream's length
// (gapless trimming, a trailing ID3v1 tag) exactly as it would for a file.
struct MemoryReader {
  const unsigned char* data;
  size_t size;
  size_t at;
};

mpg123_ssize_t readMemory(void* handle, void* buffer, size_t count) {
  auto* reader = static_cast<MemoryReader*>(handle);
  const size_t n = std::min(count, reader->size - reader->at);
  if (n == 0) return 0;  // an empty file has no buffer to copy from
  std::memcpy(buffer, reader->data + reader->at, n);
  reader->at += n;
  return static_cast<mpg123_ssize_t>(n);
}

off_t seekMemory(void* handle, off_t offset, int whence) {
  auto* reader = static_cast<MemoryReader*>(handle);
  const off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<off_t>(reader->at)
                                                                 : static_cast<off_t>(reader->size);
  const off_t target = base + offset;
  if (target < 0 || target > static_cast<off_t>(reader->size)) return -1;
  reader->at = static_cast<size_t>(target);
  return target;
}

// Every rate in mono and stereo, float only, so the output format never needs converting.
bool configure(mpg123_handle* mh) {
  if (mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_FORCE_FLOAT, 0) != MPG123_OK) return false;
  mpg123_format_none(mh);
  const long* rates = nullptr;
  size_t count = 0;
  mpg123_rates(&rates, &count);
  for (size_t i = 0; i < count; ++i) mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
  return true;
}

// A later change of rate or channel count (rare, broken files) ends the decode there.
bool acceptFormat(mpg123_handle* mh, DecodedAudio& out) {
  long rate = 0;
  int channels = 0;
  int encoding = 0;
  if (mpg123_getformat(mh, &rate, &channels, &encoding) != MPG123_OK || encoding != MPG123_ENC_FLOAT_32) return false;
  if (out.sampleRate == 0) {
    out.sampleRate = static_cast<int>(rate);
    out.channels = channels;
  }
  return out.sampleRate == rate && out.channels == channels;
}

void decodeAll(mpg123_handle* mh, DecodedAudio& out) {
  float buffer[8192];
  for (;;) {
    if (out.channels > 0 && out.samples.size() / out.channels >= maxDecodedSeconds * out.sampleRate) return;
    size_t done = 0;
    const int rc = mpg123_read(mh, reinterpret_cast<unsigned char*>(buffer), sizeof buffer, &done);
    if (rc == MPG123_NEW_FORMAT && !acceptFormat(mh, out)) return;
    if (out.channels > 0) out.samples.insert(out.samples.end(), buffer, buffer + done / sizeof(float));
    // A damaged frame ends the decode but keeps everything before it.
    if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT) return;
  }
}

}  // namespace

bool decodeMp3Bytes(const unsigned char* data, size_t size, DecodedAudio& out) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { mpg123_init(); });
  out = DecodedAudio{};
  mpg123_handle* mh = mpg123_new(nullptr, nullptr);
  if (!mh) return false;
  MemoryReader reader{data, size, 0};
  if (configure(mh) && mpg123_replace_reader_handle(mh, readMemory, seekMemory, nullptr) == MPG123_OK &&
      mpg123_open_handle(mh, &reader) == MPG123_OK) {
    decodeAll(mh, out);
    mpg123_close(mh);
  }
  mpg123_delete(mh);
  if (out.channels <= 0 || out.samples.size() < static_cast<size_t>(out.channels)) {
    out = DecodedAudio{};
    return false;
  }
  out.samples.resize(out.samples.size() / out.channels * out.channels);
  return true;
}
