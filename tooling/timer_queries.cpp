// GL timestamp queries.
#include "tooling/timer_queries.h"

#include <GL/glew.h>

bool GlTimestampQueries::supported() { return GLEW_VERSION_3_3 || GLEW_ARB_timer_query; }

uint32_t GlTimestampQueries::create() {
  GLuint query = 0;
  glGenQueries(1, &query);
  return query;
}

void GlTimestampQueries::stamp(uint32_t query) { glQueryCounter(query, GL_TIMESTAMP); }

bool GlTimestampQueries::available(uint32_t query) {
  GLint ready = 0;
  glGetQueryObjectiv(query, GL_QUERY_RESULT_AVAILABLE, &ready);
  return ready != 0;
}

uint64_t GlTimestampQueries::nanoseconds(uint32_t query) {
  GLuint64 value = 0;
  glGetQueryObjectui64v(query, GL_QUERY_RESULT, &value);
  return value;
}
