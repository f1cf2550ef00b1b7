// A GL session on a thread of its own with a large stack.
#include "tooling/gl_session_thread.h"

#include <pthread.h>

#include <cstdio>
#include <cstring>

namespace {

struct SessionCall {
  const std::function<int()>* session;
  int result = 0;
};

void* runSession(void* argument) {
  auto* call = static_cast<SessionCall*>(argument);
  call->result = (*call->session)();
  return nullptr;
}

}  // namespace

int runGlSession(const std::function<int()>& session, size_t stackBytes) {
  SessionCall call{&session};
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  int error = pthread_attr_setstacksize(&attributes, stackBytes);
  pthread_t thread{};
  if (error == 0) error = pthread_create(&thread, &attributes, runSession, &call);
  pthread_attr_destroy(&attributes);
  if (error != 0) {
    std::fprintf(stderr, "no thread with a %zu MiB stack (%s); a very long shader may crash the GL\n",
                 stackBytes >> 20, std::strerror(error));
    return session();
  }
  pthread_join(thread, nullptr);
  return call.result;
}
