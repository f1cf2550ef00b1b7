// The GLSL of shaders/, embedded at build time so the demo needs no files to start.
// Owns: the lookup by "./shaders/..." path. Does NOT read the disk: hot reload does that.
#pragma once
#include <map>
#include <string>

// All embedded files, keyed by their path relative to the repo root ("./shaders/lib/basic.glsl").
const std::map<std::string, std::string>& embeddedShaders();

// The embedded text of one file, or nullptr when no such file was embedded.
const std::string* findEmbeddedShader(const std::string& path);

// The path of the embedded file whose whole text is `text` (a program built from an embedded
// copy), or empty.
std::string embeddedPathOf(const std::string& text);
