// The offline renderer's entry point; --bench runs the frame benchmark instead.
#include "capture/offline_options.h"
#include "capture/offline_render.h"
#include "capture/render_bench.h"

int main(int argc, char** argv) {
  const ParsedOfflineOptions parsed = parseOfflineOptions(argc, argv);
  const int status = !parsed.options        ? finishCommandLine(parsed.outcome)
                     : parsed.options->bench ? runRenderBench(*parsed.options)
                                             : runOfflineRender(*parsed.options);
  return finishStdout("tarvik-render", status);
}
