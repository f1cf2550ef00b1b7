// The demo's entry point.
#include <SDL2/SDL.h>

#include "app/demo_app.h"

int main(int argc, char** argv) { return runDemo(argc, argv); }
