// Where each line of an assembled shader text came from: the file and the line in that file,
// or a line the assembly generated itself. Shader compilers number the lines of the text they
// were given; this map turns those numbers back into the files people edit.
// Owns: SourceMap and the translation of a compiler log through it. Does NOT assemble or
// compile anything and needs no GL.
#pragma once
#include <set>
#include <string>
#include <vector>

struct SourceLine {
  std::string file;  // normal form ("shaders/lib/light.glsl"); empty for a generated line
  int line = 0;      // 1-based line in that file
};

struct SourceMap {
  std::vector<SourceLine> lines;  // lines[i] is where line i + 1 of the text came from
  std::set<std::string> files;    // every file the assembly asked for, found or not

  // Every line of `text` as the same line of `file`.
  static SourceMap ofFile(const std::string& file, const std::string& text);
  // "shaders/x.glsl:33" for assembled line n (1-based), "<generated>:n" for a generated line,
  // "line n" when the map does not reach it.
  std::string where(int assembledLine) const;
};

// "./shaders/lib/x.glsl" and "shaders/lib/x.glsl" both give "shaders/lib/x.glsl".
std::string normalShaderPath(const std::string& path);

// The non-empty lines of a compile log with the compiler's line reference ("0:106(5): " as
// Mesa writes it, "ERROR: 0:106: " as a browser's ANGLE does, "0(106) : " as others do) replaced by the file and line it points at:
// "shaders/postprocessors/rgbsplit.glsl:33: error: ...". Lines without one are kept as they are.
std::vector<std::string> locateShaderLog(const std::string& log, const SourceMap& map);
