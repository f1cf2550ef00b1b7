// GPU timestamps behind a small interface, so the code that rings them can be tested with a
// stand-in. GlTimestampQueries is the GL one (glQueryCounter with GL_TIMESTAMP; in a browser,
// WebGL2's EXT_disjoint_timer_query_webgl2, whose results appear only after the page has
// handed control back).
// Owns: the GL query objects it creates (never deleted; a process makes a few dozen).
// Does NOT wait: `available` asks without blocking, and callers read only available stamps.
#pragma once
#include <cstdint>

class QueryBackend {
 public:
  virtual ~QueryBackend() = default;
  virtual uint32_t create() = 0;                     // a new query object
  virtual void stamp(uint32_t query) = 0;            // GPU time once the commands so far are done
  virtual bool available(uint32_t query) = 0;        // the stamp can be read without waiting
  virtual uint64_t nanoseconds(uint32_t query) = 0;  // only ever called when available
};

class GlTimestampQueries : public QueryBackend {
 public:
  // Whether the current context has timestamp queries.
  static bool supported();
  uint32_t create() override;
  void stamp(uint32_t query) override;
  bool available(uint32_t query) override;
  uint64_t nanoseconds(uint32_t query) override;
};
