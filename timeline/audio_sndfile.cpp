// PCM and other container formats (WAV in every sample format, AIFF, FLAC, Ogg) decoded by
// libsndfile from bytes in memory, always to float. MPEG audio is left to libmpg123, whose
// gapless trimming gives the exact track length.
#include <sndfile.h>

#include <algorithm>
#include <cstring>

#include "timeline/audio_decode.h"

namespace {

struct MemoryFile {
  const unsigned char* data;
  sf_count_t size;
  sf_count_t at;
};

sf_count_t fileLength(void* user) { return static_cast<MemoryFile*>(user)->size; }

sf_count_t seekFile(sf_count_t offset, int whence, void* user) {
  auto* file = static_cast<MemoryFile*>(user);
  const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? file->at : file->size;
  const sf_count_t target = base + offset;
  if (target < 0 || target > file->size) return -1;
  file->at = target;
  return target;
}

sf_count_t readFile(void* buffer, sf_count_t count, void* user) {
  auto* file = static_cast<MemoryFile*>(user);
  const sf_count_t n = std::clamp<sf_count_t>(file->size - file->at, 0, std::max<sf_count_t>(count, 0));
  if (n > 0) std::memcpy(buffer, file->data + file->at, static_cast<size_t>(n));
  file->at += n;
  return n;
}

sf_count_t writeNothing(const void*, sf_count_t, void*) { return 0; }
sf_count_t tellFile(void* user) { return static_cast<MemoryFile*>(user)->at; }

// Reads blocks until the file ends (a cut data chunk keeps the whole frames that are there).
void readAll(SNDFILE* sound, const SF_INFO& info, DecodedAudio& out) {
  const size_t channels = static_cast<size_t>(info.channels);
  const size_t maxFrames = static_cast<size_t>(maxDecodedSeconds * info.samplerate);
  std::vector<float> block(4096 * channels);
  size_t frames = 0;
  while (frames < maxFrames) {
    const sf_count_t got = sf_readf_float(sound, block.data(), 4096);
    if (got <= 0) break;
    out.samples.insert(out.samples.end(), block.begin(), block.begin() + static_cast<ptrdiff_t>(got * channels));
    frames += static_cast<size_t>(got);
  }
}

}  // namespace

SndfileResult decodeSndfileBytes(const unsigned char* data, size_t size, DecodedAudio& out) {
  out = DecodedAudio{};
  if (size == 0) return SndfileResult::notMine;
  SF_VIRTUAL_IO io{fileLength, seekFile, readFile, writeNothing, tellFile};
  MemoryFile file{data, static_cast<sf_count_t>(size), 0};
  SF_INFO info{};
  SNDFILE* sound = sf_open_virtual(&io, SFM_READ, &info, &file);
  if (!sound) return SndfileResult::notMine;
  if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG) {
    sf_close(sound);
    return SndfileResult::notMine;
  }
  if (info.channels <= 0 || info.samplerate <= 0) {
    sf_close(sound);
    return SndfileResult::failed;
  }
  out.sampleRate = info.samplerate;
  out.channels = info.channels;
  readAll(sound, info, out);
  sf_close(sound);
  if (out.samples.empty()) {
    out = DecodedAudio{};
    return SndfileResult::failed;
  }
  return SndfileResult::decoded;
}
