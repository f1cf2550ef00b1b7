// Where shader file text comes from: the files under ./shaders/ on disk (hot reload) or the
// copies embedded at build time (scene initialisation).
// Owns: the ShaderFiles choice and the lookup of one file's text. Does NOT split or join lines.
#pragma once
#include <optional>
#include <string>

enum class ShaderFiles { Disk, Embedded };

// The whole text of `path` ("./shaders/..."), or nothing when that source has no such file.
std::optional<std::string> shaderFileText(ShaderFiles source, const std::string& path);

// Prints the standard line for a shader file that could not be found.
void printShaderFileNotFound(const std::string& path);
