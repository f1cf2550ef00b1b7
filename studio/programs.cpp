// The studio's live programs and their rebuild.
#include "studio/programs.h"

#include <algorithm>

#include "render/shader_program.h"

void StudioPrograms::add(ShaderProgram& program, std::string owner, ProgramSource source) {
  remove(program);
  programs_.push_back({&program, std::move(owner), std::move(source)});
}

void StudioPrograms::remove(const ShaderProgram& program) {
  programs_.erase(std::remove_if(programs_.begin(), programs_.end(),
                                 [&](const Live& live) { return live.program == &program; }),
                  programs_.end());
}

StudioPrograms::Live* StudioPrograms::find(const ShaderProgram& program) {
  for (Live& live : programs_)
    if (live.program == &program) return &live;
  return nullptr;
}

std::vector<ShaderProgram*> StudioPrograms::readersOf(const std::vector<std::string>& paths) const {
  std::vector<ShaderProgram*> readers;
  for (const Live& live : programs_) {
    const bool reads = std::any_of(paths.begin(), paths.end(),
                                   [&](const std::string& path) { return live.source.files.count(normalShaderPath(path)); });
    if (reads && live.source.rebuildable()) readers.push_back(live.program);
  }
  return readers;
}

std::vector<ShaderProgram*> StudioPrograms::all() const {
  std::vector<ShaderProgram*> every;
  for (const Live& live : programs_)
    if (live.source.rebuildable()) every.push_back(live.program);
  return every;
}

std::string StudioPrograms::label(const ShaderProgram& program) const {
  for (const Live& live : programs_)
    if (live.program == &program) return live.owner + "/" + live.source.name();
  return "?";
}

ProgramsRebuilt StudioPrograms::rebuild(const std::vector<ShaderProgram*>& programs,
                                        const std::function<void(uint32_t, const std::string&)>& onBuilt) {
  ProgramsRebuilt result;
  for (ShaderProgram* program : programs) {
    Live* live = find(*program);
    if (!live) continue;
    ProgramRebuild built = rebuildFromDisk(live->source);
    // A failed build may have looked for new files (an include just written): watch them too.
    live->source.files.insert(built.files.begin(), built.files.end());
    if (built.programId == 0) {
      result.kept.push_back(label(*program));
      for (const std::string& line : built.errors)
        if (std::find(result.errors.begin(), result.errors.end(), line) == result.errors.end())
          result.errors.push_back(line);
      continue;
    }
    live->source.files = built.files;
    replaceProgram(*program, built.programId);
    if (onBuilt) onBuilt(built.programId, live->source.name());
    result.rebuilt.push_back(label(*program));
  }
  return result;
}
