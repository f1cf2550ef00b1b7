// Recursive include expansion over lines.
#include "render/shader_includes.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string trimmed(const std::string& line) {
  const char* blanks = " \t\r";
  const size_t first = line.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return line.substr(first, line.find_last_not_of(blanks) - first + 1);
}

bool isVersionLine(const std::string& line) { return trimmed(line).rfind("#version", 0) == 0; }

// "a -> b -> a": the open files from the one `path` names, then `path` again.
std::string cycleText(const std::vector<std::string>& open, const std::string& path) {
  std::string chain;
  for (auto it = std::find(open.begin(), open.end(), path); it != open.end(); ++it) chain += *it + " -> ";
  return chain + path;
}

// How many files deep includes may nest. Our own deepest chain is two; each level holds its
// file's text and a few stack frames, so a bound this low keeps a hostile chain (thousands
// deep) from ever reaching the end of the stack, also on a sanitizer's larger frames.
constexpr size_t maxIncludeDepth = 64;

struct Expander {
  ShaderFiles files;
  ShaderIncludeState& state;
  SourceMap* map = nullptr;  // the origins of the expanded lines, when asked for
  size_t depth = 0;          // included files open around the text being expanded

  void noteLine(const SourceMap* origins, size_t index) {
    if (!map) return;
    const bool known = origins && index < origins->lines.size();
    map->lines.push_back(known ? origins->lines[index] : SourceLine{});
  }

  // Appends the expansion of `text` to `out`, line by line, keeping its line feeds; `origins`
  // says where the lines of `text` came from.
  void expand(const std::string& text, bool isIncluded, const SourceMap* origins, std::string& out) {
    size_t start = 0;
    for (size_t index = 0; start < text.size(); ++index) {
      size_t end = text.find('\n', start);
      const bool hasFeed = end != std::string::npos;
      if (!hasFeed) end = text.size();
      const std::string line = text.substr(start, end - start);
      start = end + 1;
      if (isIncluded && isVersionLine(line)) continue;
      const std::string path = includedPath(line);
      const size_t linesBefore = map ? map->lines.size() : 0;
      if (path.empty()) {
        out += line;
        noteLine(origins, index);
      } else if (depth >= maxIncludeDepth) {
        std::printf("include depth over %zu at %s:%zu\n", maxIncludeDepth,
                    state.open.empty() ? "" : state.open.back().c_str(), index + 1);
        std::fflush(stdout);
        refuseInclude("include depth over " + std::to_string(maxIncludeDepth), origins, index, out);
      } else if (isOpen(path)) {
        refuseInclude("include cycle: " + cycleText(state.open, normalShaderPath(path)), origins, index, out);
      } else if (!insertFile(path, out)) {
        continue;
      } else if (map && hasFeed && map->lines.size() == linesBefore) {
        noteLine(origins, index);  // an empty included file still leaves its line
      }
      if (hasFeed) out += '\n';
    }
  }

  bool isOpen(const std::string& path) const {
    return std::find(state.open.begin(), state.open.end(), normalShaderPath(path)) != state.open.end();
  }

  // An include line that would leave the program without some of its code (a chain too deep)
  // or paste a second copy of it (a cycle) becomes an #error line: the program fails to build
  // with that one error, which the compiler's log places at the include line.
  void refuseInclude(const std::string& problem, const SourceMap* origins, size_t index, std::string& out) {
    out += "#error " + problem;
    noteLine(origins, index);
  }

  // False when nothing was inserted (already included or missing): the line then vanishes.
  bool insertFile(const std::string& path, std::string& out) {
    const std::string normal = normalShaderPath(path);
    if (map) map->files.insert(normal);
    if (!state.included.insert(normal).second) return false;
    std::optional<std::string> text = loadShaderFile(files, path);
    if (!text) return false;
    if (!text->empty() && text->back() == '\n') text->pop_back();
    state.open.push_back(normal);
    ++depth;
    const size_t start = out.size();
    if (map) {
      const SourceMap origins = SourceMap::ofFile(path, *text);
      expand(*text, true, &origins, out);
    } else {
      expand(*text, true, nullptr, out);
    }
    // A dropped last line (a repeated include) leaves its predecessor's line feed behind.
    if (out.size() > start && out.back() == '\n') out.pop_back();
    --depth;
    state.open.pop_back();
    return true;
  }
};

}  // namespace

std::string includedPath(const std::string& line) {
  const std::string text = trimmed(line);
  const std::string prefix = "#include \"";
  if (text.size() <= prefix.size() + 1 || text.rfind(prefix, 0) != 0 || text.back() != '"') return {};
  const std::string path = text.substr(prefix.size(), text.size() - prefix.size() - 1);
  return path.find('"') == std::string::npos ? path : std::string{};
}

std::string expandShaderIncludes(const std::string& source, ShaderFiles files, const std::string& sourcePath) {
  ShaderIncludeState state;
  if (!sourcePath.empty()) state.open.push_back(normalShaderPath(sourcePath));
  Expander expander{files, state, nullptr};
  std::string out;
  expander.expand(source, false, nullptr, out);
  return out;
}

std::string expandShaderIncludes(const std::string& source, ShaderFiles files, const std::string& sourcePath,
                                 const SourceMap& sourceMap, SourceMap& map) {
  ShaderIncludeState state;
  return expandShaderIncludes(source, files, state, sourcePath, sourceMap, map);
}

std::string expandShaderIncludes(const std::string& source, ShaderFiles files, ShaderIncludeState& state,
                                 const std::string& sourcePath, const SourceMap& sourceMap, SourceMap& map) {
  map.files.insert(sourceMap.files.begin(), sourceMap.files.end());
  const std::string normal = sourcePath.empty() ? std::string{} : normalShaderPath(sourcePath);
  if (!normal.empty()) {
    state.included.insert(normal);
    state.open.push_back(normal);
  }
  Expander expander{files, state, &map};
  std::string out;
  expander.expand(source, false, &sourceMap, out);
  if (!normal.empty()) state.open.pop_back();
  return out;
}
