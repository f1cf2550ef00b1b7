// The offline renderer's entry point; --bench runs the frame benchmark instead.
#include "capture/offline_options.h"
#include "capture/offline_render.h"
#include "capture/render_bench.h"
#include "tooling/gl_session_thread.h"

int main(int argc, char** argv) {
  const ParsedOfflineOptions parsed = parseOfflineOptions(argc, argv);
  if (!parsed.options) return finishStdout("tarvik-render", finishCommandLine(parsed.outcome));
  const OfflineOptions& options = *parsed.options;
  const int status = runGlSession([&] { return options.bench ? runRenderBench(options) : runOfflineRender(options); });
  return finishStdout("tarvik-render", status);
}
