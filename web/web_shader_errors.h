// Where a shader that failed in the browser went wrong: the compile log of a program's fragment
// stage, each line turned into "shaders/x.glsl:20: error: ..." through the source map, printed
// to the console after the build's own report. The desktop's studio does the same for its
// rebuilds; in the page the embedded copies are all there is, so the build hook does it.
// Owns: nothing. Does NOT stop the show: a program that failed draws nothing, as on the desktop.
#pragma once
#include "render/shader_build_hooks.h"

// Prints the located log when `build`'s fragment stage did not compile.
void reportShaderErrors(const ShaderBuild& build);
// Sets the build hook to reportShaderErrors alone (the demo and the stills).
void watchShaderErrors();
