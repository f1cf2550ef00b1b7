// The eight scene objects, one per demo part, and their creation at start-up.
// Owns: sceneList (writer: loadScenes, once; index = demo part index).
#pragma once
#include <vector>

class BaseDemoScreen;

extern std::vector<BaseDemoScreen*> sceneList;

// Prints each scene's creation message, runs its init and appends it to sceneList.
bool loadScenes();
