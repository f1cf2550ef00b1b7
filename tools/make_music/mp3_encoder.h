// MP3 encoding of the finished track with libmp3lame: 44.1 kHz stereo, 192 kbps CBR, no ID3
// tag, and an Info frame that tells decoders the encoder delay so the hits stay on time.
// Does NOT touch the audio: it encodes what it is given.
#pragma once
#include <string>
#include <vector>

#include "tools/make_music/dsp.h"

// The encoded bytes; empty on failure, with `error` saying why.
std::vector<unsigned char> encodeMp3(const StereoBuffer& audio, std::string& error);
bool writeFile(const char* path, const std::vector<unsigned char>& bytes, std::string& error);
