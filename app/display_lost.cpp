// The X I/O error hook. Xlib's own prints its message and calls exit(1); ours says what
// happened in the demo's words and keeps the demo's exit status.
#include "app/display_lost.h"

#include <SDL2/SDL.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Xlib must not get control back: after an I/O error the connection is unusable, and every
// later call (the swap, the window's destruction) would fail again.
int onDisplayConnectionLost(Display*) {
  std::printf("Lost the connection to the display\n");
  std::fflush(stdout);
  std::exit(0);
}

}  // namespace

void watchDisplayConnection() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::strcmp(driver, "x11") == 0) XSetIOErrorHandler(onDisplayConnectionLost);
}
