// The one GL header of the engine: GLEW's desktop GL 3.3 core, or the GLES 3.0 that WebGL2
// exposes when the browser build compiles the same sources. WebGL2's timestamp queries carry
// the EXT suffix; the desktop's names stand for them here, so the query code is written once.
// Does NOT load anything: the platform's display start-up does (glewInit on the desktop).
#pragma once
#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>
#include <emscripten/html5.h>
#define GL_GLEXT_PROTOTYPES
#include <GLES2/gl2ext.h>
#define glQueryCounter glQueryCounterEXT
#define glGetQueryObjectui64v glGetQueryObjectui64vEXT
#define GL_TIMESTAMP GL_TIMESTAMP_EXT

// Whether the current context stamps GPU time (it turns the extension on).
inline bool glHasTimestampQueries() {
  return emscripten_webgl_enable_extension(emscripten_webgl_get_current_context(),
                                           "EXT_disjoint_timer_query_webgl2");
}
#else
#include <GL/glew.h>

// Whether the current context stamps GPU time (GL 3.3 or ARB_timer_query).
inline bool glHasTimestampQueries() { return GLEW_VERSION_3_3 || GLEW_ARB_timer_query; }
#endif
