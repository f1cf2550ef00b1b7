// The process-wide display settings; their writers are named in the header.
#include "render/display_settings.h"

DisplaySettings settings;
int qualityCopy = 1;
