// Where the tests find the source tree (music, pack, shaders, scripts) and the built programs.
// The two paths are compiled into one support file only, so the other test files carry no
// absolute path and a fresh clone reuses their cached objects.
#pragma once

const char* testSourceDir();
const char* testBinaryDir();
