// Loading the track and turning the stream position into the song position.
#include "timeline/music.h"

#include <cstdio>
#include <iostream>

#include "render/shared_uniforms.h"
#include "timeline/beat_sync.h"
#include "timeline/fades.h"

AudioStream musicStream = 0;

bool loadMusic() {
  if ((audioGetVersion() >> 16) != 0x0204) {
    std::printf("An incorrect version of BASS was loaded %d\n", audioErrorGetCode());
    return false;
  }
  if (!audioInit(-1, 44100, 0)) {
    std::printf("Can't initialize device %d\n", audioErrorGetCode());
    return false;
  }
  musicStream = audioStreamCreateFile(false, musicFilePath, 0, 0, audioStreamFlagsWholeFile);
  if (musicStream == 0) {
    std::printf("Could not load file:%s\n", musicFilePath);
    return false;
  }
  std::cout << "Music loaded ok" << "\n";
  const double length = audioChannelBytes2Seconds(musicStream, audioChannelGetLength(musicStream, audioPosByte));
  std::cout << "songLength: " << static_cast<float>(length) << "\n";
  return true;
}

void seekMusic(float t) {
  audioChannelSetPosition(musicStream, audioChannelSeconds2Bytes(musicStream, t), audioPosByte);
  const long index = positionSyncCursor(t);
  if (index >= 0) std::cout << "Synced position: " << index << " time: " << t << "\n";
  sharedUniforms.songPosition = t;
  fades.hold = false;
}

float readSongPosition() {
  const uint64_t bytes = audioChannelGetPosition(musicStream, audioPosByte);
  sharedUniforms.songPosition = static_cast<float>(audioChannelBytes2Seconds(musicStream, bytes));
  return sharedUniforms.songPosition;
}
