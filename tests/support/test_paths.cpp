// The folder paths the build hands to this one file.
#include "tests/support/test_paths.h"

const char* testSourceDir() { return TARVIK_SOURCE_DIR; }
const char* testBinaryDir() { return TARVIK_BINARY_DIR; }
