// The studio's entry point: the demo with controls for the people who change it.
#include <cstdio>

#include "studio/options.h"
#include "studio/session.h"

int main(int argc, char** argv) {
  const StudioCommandLine line = parseStudioCommandLine(argc, argv);
  if (!line.help.empty()) {
    std::printf("%s", line.help.c_str());
    return 0;
  }
  if (!line.options) {
    std::fprintf(stderr, "tarvik-studio: %s\n", line.error.c_str());
    return 1;
  }
  StudioSession session(*line.options);
  const bool started = session.start();
  while (started && session.runFrame()) {
  }
  session.shutDown();
  return started ? 0 : 1;
}
