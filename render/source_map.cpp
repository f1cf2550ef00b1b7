// Assembled-line look-ups and compiler log translation.
#include "render/source_map.h"

#include <filesystem>
#include <regex>
#include <sstream>

SourceMap SourceMap::ofFile(const std::string& file, const std::string& text) {
  SourceMap map;
  const std::string normal = normalShaderPath(file);
  map.files.insert(normal);
  std::istringstream in(text);
  int number = 0;
  for (std::string line; std::getline(in, line);) map.lines.push_back({normal, ++number});
  return map;
}

std::string SourceMap::where(int assembledLine) const {
  if (assembledLine < 1 || assembledLine > static_cast<int>(lines.size())) return "line " + std::to_string(assembledLine);
  const SourceLine& origin = lines[static_cast<size_t>(assembledLine - 1)];
  if (origin.file.empty()) return "<generated>:" + std::to_string(assembledLine);
  return origin.file + ":" + std::to_string(origin.line);
}

std::string normalShaderPath(const std::string& path) {
  return std::filesystem::path(path).lexically_normal().generic_string();
}

std::vector<std::string> locateShaderLog(const std::string& log, const SourceMap& map) {
  // At most nine digits of line number, so that std::stoi never overflows.
  static const std::regex mesa(R"(^\s*\d+:(\d{1,9})\(\d+\):\s*(.*)$)");
  static const std::regex other(R"(^\s*\d+\((\d{1,9})\)\s*:\s*(.*)$)");
  static const std::regex angle(R"(^\s*(ERROR|WARNING):\s*\d+:(\d{1,9}):\s*(.*)$)");
  std::vector<std::string> located;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    std::smatch match;
    if (std::regex_match(line, match, mesa) || std::regex_match(line, match, other))
      located.push_back(map.where(std::stoi(match[1].str())) + ": " + match[2].str());
    else if (std::regex_match(line, match, angle))
      located.push_back(map.where(std::stoi(match[2].str())) + ": " + (match[1] == "ERROR" ? "error: " : "warning: ") +
                        match[3].str());
    else
      located.push_back(line);
  }
  return located;
}
