// The studio's live programs: the build hooks that list every program as it is made (with the
// part making it), the watch on ./shaders/ (on a thread of its own), and each rebuild with its
// one report (every error line, the programs rebuilt and those that keep their last good
// build, then the status line); a file deleted or not readable is one line naming it.
// Owns: the program list, the watcher, the programs' names for the timing table;
// shaderBuildHooks from installHooks until removeHooks or its end.
// Does NOT draw nor time passes: the picture does, under the names kept here.
#pragma once
#include <string>
#include <vector>

#include "studio/programs.h"
#include "studio/status_line.h"
#include "studio/watch_thread.h"
#include "timing/pass_names.h"

class LivePrograms {
 public:
  explicit LivePrograms(StatusLine& status);
  ~LivePrograms();
  LivePrograms(const LivePrograms&) = delete;
  LivePrograms& operator=(const LivePrograms&) = delete;

  void installHooks();
  void removeHooks();
  // Programs made from now on are the studio's own, not a scene's.
  void scenesLoaded() { scenesLoaded_ = true; }
  // Rebuilds every program from the files on disk, which may be newer than the build's copies;
  // the first one also tells which files each program reads.
  void rebuildAll(const std::string& cause);
  // Starts watching ./shaders/ from the files as they are now.
  void startWatching();
  // Checks ./shaders/ now; true when programs were rebuilt.
  bool poll();
  // Takes what the watcher found since the last call; true when programs were rebuilt.
  bool takeWatched();

  const ProgramNames& names() const { return names_; }

 private:
  std::string ownerOfNewProgram() const;
  void rebuild(const std::vector<ShaderProgram*>& programs, const std::string& cause);
  void report(const ProgramsRebuilt& result, const std::string& cause);
  bool apply(const ShaderFileChanges& changes);
  void reportNotRead(const std::vector<std::string>& paths, const std::string& why);

  StatusLine& status_;
  StudioPrograms programs_;
  ShaderWatchThread watcher_;
  ProgramNames names_;
  bool scenesLoaded_ = false;
};
