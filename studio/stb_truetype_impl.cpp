// The one definition of the stb font rasteriser, for the studio's overlay text.
// The build compiles this file without warnings: they would be the library's, not ours.
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
