// Build hooks, file polls and the rebuild report.
#include "studio/live_programs.h"

#include <malloc.h>

#include <cstdio>

#include "render/shader_build_hooks.h"
#include "render/shader_files.h"
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

void LivePrograms::startWatching() { apply(watcher_.start(pollEvery)); }

bool LivePrograms::poll() { return apply(watcher_.pollNow()); }

bool LivePrograms::takeWatched() { return apply(watcher_.take()); }

bool LivePrograms::apply(const ShaderFileChanges& changes) {
  reportNotRead(pathsWith(changes, InputFileStatus::missing), "file not found");
  for (const InputFileStatus status : {InputFileStatus::tooLarge, InputFileStatus::folder, InputFileStatus::notRegular,
                                       InputFileStatus::unreadable})
    reportNotRead(pathsWith(changes, status), "not read, " + inputFileProblem(status, maxShaderFileBytes));
  const std::vector<std::string> changed = pathsWith(changes, InputFileStatus::ok);
  if (changed.empty()) return false;
  const std::vector<ShaderProgram*> readers = programs_.readersOf(changed);
  if (readers.empty()) {
    status_.report(joined(changed) + " changed; no program reads it", false);
    return false;
  }
  rebuild(readers, joined(changed));
  return true;
}

// One line for the paths, an error when a program reads them.
void LivePrograms::reportNotRead(const std::vector<std::string>& paths, const std::string& why) {
  if (paths.empty()) return;
  const bool read = !programs_.readersOf(paths).empty();
  status_.report(joined(paths) + ": " + why + (read ? "; its programs keep their last good build" : "; no program reads it"),
                 read);
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
