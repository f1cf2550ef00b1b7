// The music track as the demo's master clock: load, seek, read the song position.
// Owns: musicStream (writer: loadMusic). The song position itself lives in
// sharedUniforms.songPosition (writers: readSongPosition each frame, seekMusic).
// Does NOT decide when to stop: the main loop compares the position with the end time.
#pragma once
#include "timeline/audio.h"

inline const char* musicFilePath = "./music/tarvik.mp3";

extern AudioStream musicStream;

// Version check, device init, stream creation; prints the reason and returns false on failure.
bool loadMusic();
// Moves playback and the sync cursor to t, sets the song position and clears the fade hold.
void seekMusic(float t);
// Reads the audible position into sharedUniforms.songPosition and returns it.
float readSongPosition();
