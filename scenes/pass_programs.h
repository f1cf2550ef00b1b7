// Scene-side helpers over the shared program builders: reading a pack slot that may be missing,
// by the slot names of resources/pack_directory.h.
// The builders themselves (embeddedPassProgram, filePassProgram) live in render/pass_programs.h.
// Does NOT keep the programs: each scene owns what it builds.
#pragma once
#include <cstddef>
#include <cstdint>

#include "render/gl_lists.h"
#include "render/pass_programs.h"
#include "resources/pack_directory.h"

// The texture in `slot`, or 0 (no texture) when the list is shorter.
uint32_t packSlot(const GLNameList& packTextures, size_t slot);
