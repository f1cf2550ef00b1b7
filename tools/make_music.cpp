// make_music OUT_PATH: synthesizes the demo's music track, timed to its beat-sync list and
// part table, and writes it as an MP3.
#include <cstdio>
#include <string>

#include "tools/make_music/mp3_encoder.h"
#include "tools/make_music/score.h"
#include "tools/make_music/track.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::printf("usage: make_music OUT_PATH\n");
    return 1;
  }
  const StereoBuffer audio = renderTrack(makeScore(trackLength));
  std::string error;
  const std::vector<unsigned char> mp3 = encodeMp3(audio, error);
  if (mp3.empty() || !writeFile(argv[1], mp3, error)) {
    std::printf("make_music: %s\n", error.c_str());
    return 1;
  }
  std::printf("make_music: wrote %s (%.1f s, %zu bytes)\n", argv[1], trackLength, mp3.size());
  return 0;
}
