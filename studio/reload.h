// Reloading scenes' shaders in the studio without ever losing a working picture: each scene's
// `reload` runs under a build observer that checks every program it builds; a program that
// fails to compile or link is dropped and the scene keeps its last good program in that place
// (the scene's reload builds its programs in a fixed order, so the n-th build of a reload
// replaces the n-th of the one before). It also records which shader files each reload read.
// Owns: the last good program names per scene and build position, the files each scene read.
// Does NOT decide when to reload (the session and the file watcher do) nor print the compile
// reports (ShaderProgram does).
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "render/shader_build_hooks.h"

class BaseDemoScreen;

struct SceneReload {
  bool ok = true;          // every program the reload built compiled and linked
  bool keptOld = false;    // a failed program was replaced by its last good one
  std::string firstError;  // first line of the first failure's log
  std::vector<std::string> missingFiles;  // files the reload looked for and could not read
};

class StudioReloader {
 public:
  explicit StudioReloader(const std::vector<BaseDemoScreen*>& scenes);

  // Forwarded from shaderBuildHooks; outside a reload both let everything through.
  uint32_t onProgramBuilt(const ShaderBuild& build);
  void onFileRead(const std::string& path, bool found);

  // Runs scene `index`'s reload under the guard.
  SceneReload reloadScene(size_t index);
  size_t sceneCount() const { return scenes_.size(); }

  // The shader files (normal form) each scene's latest reload read.
  const std::vector<std::set<std::string>>& filesPerScene() const { return files_; }

 private:
  const std::vector<BaseDemoScreen*>& scenes_;
  std::vector<std::set<std::string>> files_;
  std::vector<std::vector<uint32_t>> lastGood_;  // 0 where no good build is known yet
  int reloading_ = -1;
  size_t buildIndex_ = 0;
  SceneReload current_;
};
