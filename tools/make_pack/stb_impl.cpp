// The pack generator's own definitions of the stb image writer and font rasteriser: it links
// no tool room. The build compiles this file without warnings: they would be the library's.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
