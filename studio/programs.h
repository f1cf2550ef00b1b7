// Every shader program of the running studio (scene programs, post passes, composites, the
// studio's own), each with the part that made it and what it was built from, and their
// rebuild from ./shaders/: the programs that read a changed file are built again; a program
// that fails keeps its last good build, a good build replaces (and frees) the old one.
// Owns: the list of live programs. Does NOT watch files (the watcher does) nor print.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "studio/program_rebuild.h"

struct ProgramsRebuilt {
  std::vector<std::string> rebuilt;  // labels of the programs now built from the files on disk
  std::vector<std::string> kept;     // labels of those that failed and keep their last good build
  std::vector<std::string> errors;   // the located error lines, each once
};

class StudioPrograms {
 public:
  void add(ShaderProgram& program, std::string owner, ProgramSource source);
  void remove(const ShaderProgram& program);
  size_t size() const { return programs_.size(); }

  // The programs whose latest build read any of `paths` (any spelling), in creation order.
  std::vector<ShaderProgram*> readersOf(const std::vector<std::string>& paths) const;
  std::vector<ShaderProgram*> all() const;
  // "Greets/rgbsplit": the part that made the program and its fragment file's stem.
  std::string label(const ShaderProgram& program) const;

  // Rebuilds `programs` from disk; `onBuilt` hears every new program with its stem.
  ProgramsRebuilt rebuild(const std::vector<ShaderProgram*>& programs,
                          const std::function<void(uint32_t programId, const std::string& stem)>& onBuilt);

 private:
  struct Live {
    ShaderProgram* program;
    std::string owner;
    ProgramSource source;
  };
  Live* find(const ShaderProgram& program);
  std::vector<Live> programs_;
};
