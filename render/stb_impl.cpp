// The one definition of the stb image writer and font rasteriser for the whole program.
// The build compiles this file without warnings: they would be the library's, not ours.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
