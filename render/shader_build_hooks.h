// Optional observers of shader builds, all off by default: which shader files a build read
// from disk, and every program that ShaderProgram linked, with the chance to keep another one.
// The studio installs them to watch files and keep the last good program; the frame benchmark
// to name passes. Owns: shaderBuildHooks (writer: the studio's live programs and tarvik-render --bench,
// at their start-up; nothing else sets them). Does NOT print anything: ShaderProgram reports.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

class ShaderProgram;

// One linked program as ShaderProgram built it; the stage objects are still alive.
struct ShaderBuild {
  uint32_t programId = 0;
  uint32_t vertexShader = 0;
  uint32_t fragmentShader = 0;
  uint32_t geometryShader = 0;  // 0 when there is no geometry stage
  bool fragmentIsFile = false;
  const std::string* fragment = nullptr;  // the fragment argument as the caller passed it: path or text
};

struct ShaderBuildHooks {
  // Every shader file read from disk (found or not), with the path as the reader was given it.
  std::function<void(const std::string& path, bool found)> fileRead;
  // Every linked program; returns the program name the new ShaderProgram keeps.
  std::function<uint32_t(const ShaderBuild& build)> programBuilt;
  // Every ShaderProgram made, with its constructor's arguments, and every one destroyed.
  std::function<void(ShaderProgram& program, bool fragmentIsFile, const std::string& vertex,
                     const std::string& fragment, const std::string& geometry)>
      programCreated;
  std::function<void(ShaderProgram& program)> programDestroyed;
};

extern ShaderBuildHooks shaderBuildHooks;

void noteShaderFileRead(const std::string& path, bool found);
// The program the builder keeps: build.programId unless a hook chooses another.
uint32_t noteProgramBuilt(const ShaderBuild& build);

// Whether every stage compiled and the program linked, and the first line of the first
// failing step's log (empty when the build succeeded).
struct ShaderBuildCheck {
  bool ok = true;
  std::string firstError;
};
ShaderBuildCheck checkShaderBuild(const ShaderBuild& build);

// Deletes a program that nothing draws with (a failed rebuild that was never handed out).
void discardProgram(uint32_t programId);
