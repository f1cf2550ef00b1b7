// The GLSL dialect a stage text is compiled as: desktop GL 3.3 takes the shader files as they
// are written, WebGL2 needs GLSL ES 3.00 with its version line first and default precisions.
// Owns: ShaderPlatform, the build's own platform and the rewrite of a stage text's header for
// either. Does NOT compile anything and needs no GL.
#pragma once
#include <string>

enum class ShaderPlatform { Desktop, Web };

#ifdef __EMSCRIPTEN__
inline constexpr ShaderPlatform shaderPlatform = ShaderPlatform::Web;
#else
inline constexpr ShaderPlatform shaderPlatform = ShaderPlatform::Desktop;
#endif

// `text` (one complete stage, as assembled from the files) for `platform`. Desktop: unchanged.
// Web: "#version 300 es", one line of precision statements (float, int, sampler2D and every
// other sampler type the text names) and "#line 1" come first, and the text's own version line
// becomes blank, so the compiler numbers every line as the text does and a SourceMap of the
// text places the web compiler's messages too.
std::string stageTextFor(ShaderPlatform platform, const std::string& text);
