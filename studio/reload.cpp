// Guarded scene reloads.
#include "studio/reload.h"

#include "studio/watch.h"
#include "scenes/base_demo_screen.h"

StudioReloader::StudioReloader(const std::vector<BaseDemoScreen*>& scenes) : scenes_(scenes) {}

uint32_t StudioReloader::onProgramBuilt(const ShaderBuild& build) {
  if (reloading_ < 0) return build.programId;
  std::vector<uint32_t>& good = lastGood_[static_cast<size_t>(reloading_)];
  const size_t position = buildIndex_++;
  if (good.size() <= position) good.resize(position + 1, 0);
  const ShaderBuildCheck check = checkShaderBuild(build);
  if (check.ok) {
    good[position] = build.programId;
    return build.programId;
  }
  if (current_.ok) current_.firstError = check.firstError;
  current_.ok = false;
  // Without a good build in this place yet (a file already broken when the studio started)
  // the broken program is all there is.
  if (good[position] == 0) return build.programId;
  discardProgram(build.programId);
  current_.keptOld = true;
  return good[position];
}

void StudioReloader::onFileRead(const std::string& path, bool found) {
  if (reloading_ < 0) return;
  files_[static_cast<size_t>(reloading_)].insert(normalShaderPath(path));
  if (!found) current_.missingFiles.push_back(normalShaderPath(path));
}

SceneReload StudioReloader::reloadScene(size_t index) {
  if (index >= scenes_.size()) return {};
  if (files_.size() < scenes_.size()) files_.resize(scenes_.size());
  if (lastGood_.size() < scenes_.size()) lastGood_.resize(scenes_.size());
  files_[index].clear();
  current_ = {};
  reloading_ = static_cast<int>(index);
  buildIndex_ = 0;
  scenes_[index]->reload();
  reloading_ = -1;
  return current_;
}
