// GL timestamp queries.
#include "timing/timer_queries.h"

#include "render/gl.h"

bool GlTimestampQueries::supported() { return glHasTimestampQueries(); }

uint32_t GlTimestampQueries::create() {
  GLuint query = 0;
  glGenQueries(1, &query);
  return query;
}

void GlTimestampQueries::stamp(uint32_t query) { glQueryCounter(query, GL_TIMESTAMP); }

bool GlTimestampQueries::available(uint32_t query) {
  GLuint ready = 0;
  glGetQueryObjectuiv(query, GL_QUERY_RESULT_AVAILABLE, &ready);
  return ready != 0;
}

uint64_t GlTimestampQueries::nanoseconds(uint32_t query) {
  GLuint64 value = 0;
  glGetQueryObjectui64v(query, GL_QUERY_RESULT, &value);
  return value;
}
