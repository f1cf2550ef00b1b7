// The eight scene objects (static, alive for the whole process) and their creation order.
#include "scenes/scene_set.h"

#include <iostream>

#include "scenes/abstract_worlds_screen.h"
#include "scenes/ambient_intro_scene.h"
#include "scenes/end_scene.h"
#include "scenes/explode_greets_scene.h"
#include "scenes/greets_scene.h"
#include "scenes/logo_scene.h"
#include "scenes/menger_scene.h"
#include "scenes/tentacle_scene.h"

std::vector<BaseDemoScreen*> sceneList;

namespace {

AmbientIntroScene ambientIntroScene;
AbstractWorldsScreen abstractWorldsScreen;
TentacleScene tentacleScene;
GreetsScene greetsScene;
ExplodeGreetsScene explodeGreetsScene;
LogoScene logoScene;
MengerScene mengerScene;
EndScene endScene;

struct SceneEntry {
  BaseDemoScreen* scene;
  const char* creationMessage;
};

}  // namespace

bool loadScenes() {
  const SceneEntry entries[] = {
      {&ambientIntroScene, "LOAD INTRO\n"},           {&abstractWorldsScreen, "LOAD ABSTRACT WORLDS\n"},
      {&tentacleScene, "LOAD TENTACLES\n"},           {&greetsScene, "LOAD GREETS\n"},
      {&explodeGreetsScene, "LOAD EXPLODE GREETS\n"}, {&logoScene, "LOAD LOGO\n"},
      {&mengerScene, "LOAD MENGER\n"},                {&endScene, "LOAD END SCENE\n"},
  };
  for (const SceneEntry& entry : entries) {
    std::cout << entry.creationMessage;
    entry.scene->init();
    sceneList.push_back(entry.scene);
  }
  return true;
}
