// Where shader file text comes from: the files under ./shaders/ on disk (hot reload) or the
// copies embedded at build time (scene initialisation).
// Owns: the ShaderFiles choice, the lookup of one file's text and the line that says why a
// lookup failed. Does NOT split or join lines.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

enum class ShaderFiles { Disk, Embedded };

// No shader file of ours comes near this; a larger one is refused rather than compiled.
constexpr uint64_t maxShaderFileBytes = 1ull << 20;

// The whole text of `path` ("./shaders/..."), or nothing after one line that says why: the
// NOT FOUND line when the source has no such file, and "cannot read shader file PATH: REASON"
// when a disk path is a folder, a FIFO or device (never waited on), unreadable or too large.
std::optional<std::string> loadShaderFile(ShaderFiles source, const std::string& path);
