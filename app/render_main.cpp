// The offline frame renderer's entry point.
#include "app/offline_render.h"

int main(int argc, char** argv) { return runOfflineRender(argc, argv); }
