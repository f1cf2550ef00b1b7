// Building full-screen programs (screen-quad vertex stage plus one fragment file) from the
// embedded copies at init, and from the files on disk on hot reload.
// Owns: PassProgram and the two builders. Does NOT decide which scene uses which pass.
#pragma once
#include <memory>

#include "render/shader_program.h"

using PassProgram = std::unique_ptr<ShaderProgram>;

// The embedded copy of `fragmentPath` ("./shaders/..."); a missing copy prints the not-found
// line and builds from empty text, which reports its failure like any broken shader.
PassProgram embeddedPassProgram(const char* fragmentPath);
// The file `fragmentPath` on disk with "./shaders/screenquad_vtx.glsl".
PassProgram filePassProgram(const char* fragmentPath);
