// Feeds the track to lame in chunks and patches the Info frame in front once it is known.
#include "tools/make_music/mp3_encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

lame_t openEncoder() {
  lame_t gf = lame_init();
  if (!gf) return nullptr;
  lame_set_in_samplerate(gf, sampleRate);
  lame_set_out_samplerate(gf, sampleRate);
  lame_set_num_channels(gf, 2);
  lame_set_mode(gf, JOINT_STEREO);
  lame_set_VBR(gf, vbr_off);
  lame_set_brate(gf, 192);
  lame_set_quality(gf, 7);  // fast; at 192 kbps the difference is not audible
  lame_set_write_id3tag_automatic(gf, 0);
  lame_set_bWriteVbrTag(gf, 1);
  if (lame_init_params(gf) < 0) {
    lame_close(gf);
    return nullptr;
  }
  return gf;
}

bool encodeFrames(lame_t gf, const StereoBuffer& audio, std::vector<unsigned char>& out) {
  const size_t chunk = 8192;
  std::vector<unsigned char> buffer(chunk * 5 / 4 + 7200);
  for (size_t at = 0; at < audio.left.size(); at += chunk) {
    const int frames = static_cast<int>(std::min(chunk, audio.left.size() - at));
    const int written = lame_encode_buffer_ieee_float(gf, audio.left.data() + at, audio.right.data() + at, frames,
                                                      buffer.data(), static_cast<int>(buffer.size()));
    if (written < 0) return false;
    out.insert(out.end(), buffer.begin(), buffer.begin() + written);
  }
  const int tail = lame_encode_flush(gf, buffer.data(), static_cast<int>(buffer.size()));
  if (tail < 0) return false;
  out.insert(out.end(), buffer.begin(), buffer.begin() + tail);
  return true;
}

}  // namespace

std::vector<unsigned char> encodeMp3(const StereoBuffer& audio, std::string& error) {
  std::vector<unsigned char> out;
  lame_t gf = openEncoder();
  if (!gf) {
    error = "the MP3 encoder could not be set up";
    return out;
  }
  if (!encodeFrames(gf, audio, out)) {
    error = "the MP3 encoder failed";
    out.clear();
  } else {
    // The first frame was left empty for the Info tag, which only now knows the frame count.
    unsigned char tag[2880];
    const size_t size = lame_get_lametag_frame(gf, tag, sizeof tag);
    if (size > 0 && size <= out.size()) std::memcpy(out.data(), tag, size);
  }
  lame_close(gf);
  return out;
}

bool writeFile(const char* path, const std::vector<unsigned char>& bytes, std::string& error) {
  FILE* file = std::fopen(path, "wb");
  if (!file) {
    error = std::string("cannot write ") + path;
    return false;
  }
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !ok) {
    error = std::string("cannot write ") + path;
    return false;
  }
  return true;
}
