// The offline frame renderer's entry point; --bench runs the frame benchmark instead.
#include "capture/offline_render.h"
#include "capture/render_bench.h"

int main(int argc, char** argv) {
  if (wantsRenderBench(argc, argv)) return runRenderBench(argc, argv);
  return runOfflineRender(argc, argv);
}
