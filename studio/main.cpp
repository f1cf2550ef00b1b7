// The studio's entry point: the demo with controls for the people who change it.
#include <cstdio>

#include "studio/keys.h"
#include "studio/options.h"
#include "studio/session.h"

namespace {

void printHelp() {
  std::printf("%s\n\nKeys:\n", studioUsage());
  for (const KeyHelp& key : studioKeyHelp()) std::printf("  %-20s %s\n", key.keys.c_str(), key.action.c_str());
  std::printf("Saving a file under ./shaders/ reloads the scenes that read it.\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = parseStudioOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "tarvik-studio: %s\n%s\n", error.c_str(), studioUsage());
    return 1;
  }
  if (options->help) {
    printHelp();
    return 0;
  }
  StudioSession session(*options);
  const bool started = session.start();
  while (started && session.runFrame()) {
  }
  session.shutDown();
  return started ? 0 : 1;
}
