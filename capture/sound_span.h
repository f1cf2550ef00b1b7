// The music of one span of the song as a 16-bit PCM WAV file, cut from the samples that our
// own decoder produced, so an exported video carries exactly the sound the frames were timed by.
// Does NOT decode or resample: the caller hands the decoded track.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "timeline/audio.h"

// Sample frames [round(from * rate), round(to * rate)) of the track; frames past its end are
// silence. Empty when the track has no samples.
std::vector<uint8_t> wavBytesForSpan(const DecodedAudio& audio, double from, double to);

// Writes those bytes to `path`; false with `error` set to the reason (a full disk included).
bool writeWavSpan(const DecodedAudio& audio, double from, double to, const std::string& path, std::string& error);
