// Statistics, table, CSV and comparison of the frame benchmark.
#include "timing/bench_report.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr int cellWidth = 14;
const char* const csvHeader = "part,pass,median_ms,min_ms,max_ms";

std::string padded(const std::string& text, int width, bool left) {
  char out[64];
  std::snprintf(out, sizeof out, left ? "%-*s" : "%*s", width, text.c_str());
  return out;
}

std::string number(double value, const char* format = "%.2f") {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string header(size_t parts, const char* title) {
  std::string line = padded(title, 15, true);
  for (size_t i = 0; i < parts; ++i) line += padded("part " + std::to_string(i + 1), cellWidth, false);
  return line + "\n";
}

// A summary row whose per-frame value comes from frame k of each part.
BenchRow frameRow(const std::string& name, const std::vector<PartTiming>& parts,
                  const std::function<double(const PartTiming&, size_t)>& value) {
  BenchRow row{name, {}};
  for (const PartTiming& part : parts) {
    std::vector<double> samples;
    for (size_t k = 0; k < part.wall.size(); ++k) samples.push_back(value(part, k));
    row.cells.push_back(samples.empty() ? std::nullopt : std::optional<CellStats>(statsOf(samples)));
  }
  return row;
}

double gpuSum(const PartTiming& part, size_t frame) {
  double sum = 0.0;
  for (const auto& [name, samples] : part.passes) sum += frame < samples.size() ? samples[frame] : 0.0;
  return sum;
}

bool parseField(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end != text.c_str() && *end == '\0';
}

std::vector<std::string> splitFields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1)
    fields.push_back(line.substr(start, comma - start));
  fields.push_back(line.substr(start));
  return fields;
}

const OldMedian* findOld(const std::vector<OldMedian>& old, int part, const std::string& pass) {
  const auto found = std::find_if(old.begin(), old.end(), [&](const OldMedian& m) { return m.part == part && m.pass == pass; });
  return found == old.end() ? nullptr : &*found;
}

// new/old of one row's medians summed over the parts that both runs have.
std::string totalRatio(const std::vector<BenchRow>& rows, const std::vector<OldMedian>& old, const std::string& name) {
  const auto row = std::find_if(rows.begin(), rows.end(), [&](const BenchRow& r) { return r.name == name; });
  double now = 0.0, before = 0.0;
  for (size_t i = 0; row != rows.end() && i < row->cells.size(); ++i) {
    const OldMedian* previous = findOld(old, static_cast<int>(i + 1), name);
    if (!row->cells[i] || !previous) continue;
    now += row->cells[i]->median;
    before += previous->median;
  }
  return before > 0.0 ? number(now / before, "%.3f") : "-";
}

}  // namespace

void PartTiming::addFrame(const std::vector<std::pair<std::string, double>>& passTimes, double wallMilliseconds) {
  for (const auto& pass : passTimes) {
    auto found = std::find_if(passes.begin(), passes.end(), [&](const auto& p) { return p.first == pass.first; });
    if (found == passes.end()) {
      passes.push_back({pass.first, std::vector<double>(wall.size(), 0.0)});  // not run on earlier frames
      found = passes.end() - 1;
    }
    found->second.push_back(pass.second);
  }
  wall.push_back(wallMilliseconds);
  for (auto& [name, samples] : passes) samples.resize(wall.size(), 0.0);
}

CellStats statsOf(std::vector<double> samples) {
  if (samples.empty()) return {};
  std::sort(samples.begin(), samples.end());
  const size_t n = samples.size();
  const double median = n % 2 ? samples[n / 2] : 0.5 * (samples[n / 2 - 1] + samples[n / 2]);
  double sum = 0.0;
  for (double sample : samples) sum += sample;
  return {median, samples.front(), samples.back(), sum / static_cast<double>(n)};
}

std::vector<BenchRow> benchRows(const std::vector<PartTiming>& parts) {
  std::vector<BenchRow> rows;
  for (const PartTiming& part : parts)
    for (const auto& pass : part.passes)
      if (std::none_of(rows.begin(), rows.end(), [&](const BenchRow& r) { return r.name == pass.first; }))
        rows.push_back({pass.first, {}});
  for (BenchRow& row : rows)
    for (const PartTiming& part : parts) {
      const auto found = std::find_if(part.passes.begin(), part.passes.end(), [&](const auto& p) { return p.first == row.name; });
      row.cells.push_back(found == part.passes.end() ? std::nullopt : std::optional<CellStats>(statsOf(found->second)));
    }
  rows.push_back(frameRow("GPU sum", parts, gpuSum));
  rows.push_back(frameRow("wall / frame", parts, [](const PartTiming& p, size_t k) { return p.wall[k]; }));
  rows.push_back(frameRow("overhead ms", parts, [](const PartTiming& p, size_t k) { return p.wall[k] - gpuSum(p, k); }));
  rows.push_back(frameRow("overhead %", parts, [](const PartTiming& p, size_t k) {
    return p.wall[k] > 0.0 ? 100.0 * (p.wall[k] - gpuSum(p, k)) / p.wall[k] : 0.0;
  }));
  return rows;
}

std::string benchTable(const std::vector<BenchRow>& rows) {
  if (rows.empty()) return "";
  std::string table = header(rows.front().cells.size(), "pass (GPU ms)");
  for (const BenchRow& row : rows) {
    std::string medians = padded(row.name, 15, true), ranges = padded("  min-max", 15, true);
    for (const auto& cell : row.cells) {
      medians += padded(cell ? number(cell->median) : "-", cellWidth, false);
      ranges += padded(cell ? number(cell->min) + "-" + number(cell->max) : "", cellWidth, false);
    }
    while (ranges.back() == ' ') ranges.pop_back();
    table += medians + "\n" + ranges + "\n";
    if (row.name != "wall / frame") continue;
    std::string means = padded("  mean", 15, true);
    for (const auto& cell : row.cells) means += padded(cell ? number(cell->mean) : "-", cellWidth, false);
    table += means + "\n";
  }
  return table;
}

std::string benchCsv(const std::vector<BenchRow>& rows) {
  std::string csv = std::string(csvHeader) + "\n";
  for (size_t part = 0; !rows.empty() && part < rows.front().cells.size(); ++part)
    for (const BenchRow& row : rows)
      if (const auto& cell = row.cells[part])
        csv += std::to_string(part + 1) + "," + row.name + "," + number(cell->median, "%.4f") + "," +
               number(cell->min, "%.4f") + "," + number(cell->max, "%.4f") + "\n";
  return csv;
}

std::optional<std::vector<OldMedian>> parseBenchCsv(const std::string& text, std::string& error) {
  std::vector<OldMedian> old;
  size_t lineNumber = 0, start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find('\n', start), text.size());
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    if (++lineNumber == 1 && line == csvHeader) continue;
    const std::vector<std::string> fields = splitFields(line);
    double part = 0.0, median = 0.0, min = 0.0, max = 0.0;
    if (fields.size() != 5 || !parseField(fields[0], part) || part < 1 || !parseField(fields[2], median) ||
        !parseField(fields[3], min) || !parseField(fields[4], max)) {
      error = "line " + std::to_string(lineNumber) + " is not a row of a --csv file (" + csvHeader + ")";
      return std::nullopt;
    }
    old.push_back({static_cast<int>(part), fields[1], median});
  }
  if (old.empty()) error = "it holds no rows";
  if (old.empty()) return std::nullopt;
  return old;
}

std::string benchComparison(const std::vector<BenchRow>& rows, const std::vector<OldMedian>& old) {
  if (rows.empty()) return "";
  std::string table = header(rows.front().cells.size(), "new / old");
  for (const BenchRow& row : rows) {
    table += padded(row.name, 15, true);
    for (size_t i = 0; i < row.cells.size(); ++i) {
      const OldMedian* previous = findOld(old, static_cast<int>(i + 1), row.name);
      const bool comparable = row.cells[i] && previous && previous->median > 0.0;
      table += padded(comparable ? number(row.cells[i]->median / previous->median, "%.3f") : "-", cellWidth, false);
    }
    table += "\n";
  }
  return table + "total new / old (medians summed over the parts): wall " + totalRatio(rows, old, "wall / frame") +
         ", GPU " + totalRatio(rows, old, "GPU sum") + "\n";
}
