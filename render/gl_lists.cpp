// Storage of the process-wide GL name lists.
#include "render/gl_lists.h"

GLNameList packTextures;
GLNameList renderTextures;
GLNameList frameBuffers;
