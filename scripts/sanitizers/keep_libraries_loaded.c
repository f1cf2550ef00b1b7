/* Linked into every program of the sanitizer build, and only there. Mesa unloads its driver
   (and the LLVM that llvmpipe compiles shaders with) when a display or context goes away; a leak
   allocated inside them then shows as "<unknown module>" and no suppression can name it.
   Opening them once more with RTLD_NODELETE keeps them mapped until the process ends, so the
   leak reports name the library they came from. A library that is not there is skipped. */
#include <dlfcn.h>

#ifndef DRI_DRIVER
#define DRI_DRIVER "swrast_dri.so"
#endif

__attribute__((constructor)) static void keepSystemLibrariesLoaded(void) {
  static const char* const names[] = {"libGLX_mesa.so.0", "libEGL_mesa.so.0", DRI_DRIVER};
  for (unsigned i = 0; i < sizeof names / sizeof names[0]; ++i) dlopen(names[i], RTLD_NOW | RTLD_NODELETE);
}
