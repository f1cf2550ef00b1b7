// The one definition of the stb image writer for the tools (frame captures are PNGs).
// The build compiles this file without warnings: they would be the library's, not ours.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
