// The studio's entry point: the demo with controls for the people who change it.
#include <malloc.h>

#include <cstdio>

#include "app/stop_request.h"
#include "studio/options.h"
#include "studio/session.h"
#include "tooling/command_line.h"
#include "tooling/gl_session_thread.h"

namespace {

int runStudio(const StudioOptions& options) {
  StudioSession session(options);
  const bool started = session.start();
  while (started && session.runFrame() && !stopRequested()) {
  }
  session.shutDown();
  return started ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const StudioCommandLine line = parseStudioCommandLine(argc, argv);
  if (!line.help.empty()) {
    std::printf("%s", line.help.c_str());
    return finishStdout("tarvik-studio", 0);
  }
  if (!line.options) {
    std::fprintf(stderr, "tarvik-studio: %s\n", line.error.c_str());
    return 1;
  }
  // Shader compiles allocate and free large blocks; left to the allocator's sliding threshold
  // they land in the heap, which then fragments and grows with every rebuild. Blocks this
  // large are mapped and unmapped instead.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  installStopHandlers({0, ""});  // a signal ends the studio as Escape does
  // SDL wants its events pumped on the thread that made the window: the whole session runs there.
  return finishStdout("tarvik-studio", runGlSession([&] { return runStudio(*line.options); }));
}
