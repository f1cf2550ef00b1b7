// The fragment text of the assembled ray-marched scenes (abstract worlds, tentacles, greets)
// and the scene program built over it: ShaderSourceBuilder's fixed start with the scene's
// marching constants, the library snippets every such scene adds after the lights, then the
// scene's own file. Does NOT choose any scene's constants: each scene passes its own.
#pragma once
#include <string>

#include "render/pass_programs.h"
#include "render/shader_files.h"

// The values given to begin, addRaymarching and addLights, whether the scene wants the
// Voronoi snippet (between the mist and the value noise), and what the scene file finds
// defined, if anything (a variant of the scene: a name, or a name and its value).
struct RaymarcherConstants {
  float gamma = 0.0f, fov = 0.0f;
  int iterations = 0;
  float stepSize = 0.0f, clipNear = 0.0f, clipFar = 0.0f;
  int lightCount = 0;
  bool voronoi = false;
  const char* sceneDefine = nullptr;
};

// begin, addRaymarching and addLights with `constants`, then axis_rotation, simplex_noise,
// cheap_fog, dust_turns_header (the scene uploads the dust's camera and turns: scenes/dust_turns.h), mist,
// voronoi (when asked for) and texture_noise, then the scene's define (when given) and
// `sceneFile`, all from `files`.
std::string raymarcherSource(ShaderFiles files, const RaymarcherConstants& constants, const char* sceneFile);

// A scene's text as the scene assembles it from `files`.
using RaymarcherText = std::string (*)(ShaderFiles files);

// The program over `sceneText(files)` with the screen-quad vertex stage from the same source:
// the embedded copies at init, the files on disk on hot reload.
PassProgram raymarcherProgram(ShaderFiles files, RaymarcherText sceneText);
