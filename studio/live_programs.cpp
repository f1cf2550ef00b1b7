// Build hooks, file polls and the rebuild report.
#include "studio/live_programs.h"

#include <malloc.h>

#include <cstdio>

#include "render/shader_build_hooks.h"
#include "scenes/scene_set.h"
#include "studio/transport.h"
#include "timeline/demo_parts.h"

namespace {

constexpr const char* shaderFolder = "./shaders";
constexpr std::chrono::milliseconds pollEvery{250};

std::string joined(const std::vector<std::string>& paths) {
  std::string text;
  for (const std::string& path : paths) text += (text.empty() ? "" : ", ") + path;
  return text;
}

}  // namespace

LivePrograms::LivePrograms(StatusLine& status) : status_(status), watcher_(shaderFolder) {}

LivePrograms::~LivePrograms() { removeHooks(); }

void LivePrograms::installHooks() {
  shaderBuildHooks.programBuilt = [this](const ShaderBuild& build) {
    names_.note(build, build.programId);
    return build.programId;
  };
  shaderBuildHooks.programCreated = [this](ShaderProgram& program, bool fragmentIsFile, const std::string& vertex,
                                           const std::string& fragment, const std::string& geometry) {
    programs_.add(program, ownerOfNewProgram(), describeProgramSource(fragmentIsFile, vertex, fragment, geometry));
  };
  shaderBuildHooks.programDestroyed = [this](ShaderProgram& program) { programs_.remove(program); };
}

void LivePrograms::removeHooks() { shaderBuildHooks = {}; }

// Scenes build their programs in their init, one scene after the other, and join sceneList
// after it: the scene being initialised is the one at sceneList's end.
std::string LivePrograms::ownerOfNewProgram() const {
  return scenesLoaded_ ? std::string("studio") : partNameOf(demoTimeline, static_cast<int>(sceneList.size()));
}

void LivePrograms::rebuildAll(const std::string& cause) { rebuild(programs_.all(), cause); }

void LivePrograms::startWatching() { watcher_.poll(); }

bool LivePrograms::pollIfDue(std::chrono::steady_clock::time_point now) {
  return now - lastPoll_ >= pollEvery && poll();
}

bool LivePrograms::poll() {
  lastPoll_ = std::chrono::steady_clock::now();
  const ShaderFileChanges changes = watcher_.poll();
  if (!changes.lost.empty())
    status_.report(joined(changes.lost) + ": deleted, unreadable or not a regular file; the last good programs stay", true);
  if (changes.changed.empty()) return false;
  const std::vector<ShaderProgram*> readers = programs_.readersOf(changes.changed);
  if (readers.empty()) {
    status_.report(joined(changes.changed) + " changed; no program reads it", false);
    return false;
  }
  rebuild(readers, joined(changes.changed));
  return true;
}

void LivePrograms::rebuild(const std::vector<ShaderProgram*>& programs, const std::string& cause) {
  const ProgramsRebuilt result =
      programs_.rebuild(programs, [this](uint32_t programId, const std::string& stem) { names_.noteStem(programId, stem); });
  // A shader compile allocates and frees a lot; without this the freed pages stay in the
  // allocator's arenas and the studio's memory creeps up over the first few dozen rebuilds.
  malloc_trim(0);
  report(result, cause);
}

void LivePrograms::report(const ProgramsRebuilt& result, const std::string& cause) {
  for (const std::string& line : result.errors) std::printf("%s\n", line.c_str());
  if (!result.rebuilt.empty()) std::printf("studio: %s: rebuilt %s\n", cause.c_str(), joined(result.rebuilt).c_str());
  if (!result.kept.empty())
    std::printf("studio: %s: %s keep the last good build\n", cause.c_str(), joined(result.kept).c_str());
  std::fflush(stdout);
  if (result.errors.empty())
    status_.show("rebuilt " + std::to_string(result.rebuilt.size()) + " program(s) (" + cause + ")", false);
  else
    status_.show(result.errors.front(), true);
}
