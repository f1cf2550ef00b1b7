// One linked GL program built from a vertex, a fragment and an optional geometry stage.
// Owns: building the program and printing its compile and link reports.
// Does NOT bind the program, cache uniform locations or delete GL objects when dropped.
#pragma once
#include <cstdint>
#include <string>

class ShaderProgram {
 public:
  // vertex: a file path when something on disk has that name, else the GLSL itself. fragment: a path when
  // fragmentIsFile, else the GLSL. geometry: a path, or empty for no geometry stage.
  // Include lines in the fragment are expanded from disk (file) or the embedded copies (text).
  // Each stage is compiled with the version line of the build's platform (stageTextFor).
  ShaderProgram(bool fragmentIsFile, std::string vertex, std::string fragment, std::string geometry);
  ~ShaderProgram();
  ShaderProgram(const ShaderProgram&) = delete;
  ShaderProgram& operator=(const ShaderProgram&) = delete;

  uint32_t programId = 0;
};

// The whole file with lines joined by single line feeds and none after the last; the empty
// text (after the NOT FOUND or cannot-read line) when it does not open or is no regular file.
std::string readTextFile(const std::string& path);

// Prints the failure report of one compile ("VERTEX", "FRAGMENT", "GEOMETRY") or link
// ("PROGRAM") step of `object`; prints nothing when the step succeeded.
void reportBuildStatus(uint32_t object, const std::string& type, const std::string& label);
