// The one GL header of the engine: GLEW's desktop GL 3.3 core, or the GLES 3.0 that WebGL2
// exposes when the browser build compiles the same sources.
// Does NOT load anything: the platform's display start-up does (glewInit on the desktop).
#pragma once
#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>
#else
#include <GL/glew.h>
#endif
