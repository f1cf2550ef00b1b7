// Decoding the pack images into GL textures at start-up.
// Owns: loadPackImages (writer of packTextures, once) and loadPackTexture.
// Does NOT keep the pack open or know which scene samples which slot.
#pragma once
#include <cstdint>
#include <string>

// Loads the 29 slots of the load list in order; a failed slot holds 0, so indices never shift.
void loadPackImages();

// The GL name of the named directory image, or 0 when it is not in the directory or the pack
// does not open (a FIFO, a device or a folder counts as not opening, and is never waited on).
// repeat wins over clamp; with neither, GL's initial wrap applies. An entry that does not decode,
// or whose header declares a size no pack image has, is reported and its texture holds one
// transparent black texel.
uint32_t loadPackTexture(bool flip, bool clamp, bool repeat, const std::string& name);
