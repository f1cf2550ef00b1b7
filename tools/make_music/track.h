// The whole track: places every voice of the score, runs the effects and the master stage.
// Does NOT encode: mp3_encoder.h writes the result.
#pragma once
#include "tools/make_music/dsp.h"
#include "tools/make_music/score.h"

constexpr float trackCeiling = 0.84f;  // about -1.5 dBFS, leaving room for the encoder's overshoot

StereoBuffer renderTrack(const Score& score);
