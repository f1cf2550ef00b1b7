// The one definition of the stb image decoder for the whole program.
// The build compiles this file without warnings: they would be the library's, not ours.
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
