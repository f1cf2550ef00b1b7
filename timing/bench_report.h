// The frame benchmark's figures as a report: per part and pass the median, minimum, maximum and
// mean over the measured frames; printed as a table, written as CSV, and compared with an earlier
// CSV as ratios new/old. Plain arithmetic and text, no GL.
#pragma once
#include <optional>
#include <string>
#include <vector>

// One part's measured frames: the GPU milliseconds of each pass per frame (in drawing order of
// first use) and the wall milliseconds per frame.
struct PartTiming {
  std::string partName;
  double firstTime = 0.0;  // song times of the first and the last measured frame
  double lastTime = 0.0;
  std::vector<std::pair<std::string, std::vector<double>>> passes;
  std::vector<double> wall;

  void addFrame(const std::vector<std::pair<std::string, double>>& passTimes, double wallMilliseconds);
};

struct CellStats {
  double median = 0.0;
  double min = 0.0;
  double max = 0.0;
  double mean = 0.0;
};
CellStats statsOf(std::vector<double> samples);

// One row of the report: a pass (in order of first use over the parts), then "GPU sum",
// "wall / frame", "overhead ms" and "overhead %", with a cell per part (none where the part
// does not run that pass).
struct BenchRow {
  std::string name;
  std::vector<std::optional<CellStats>> cells;
};
std::vector<BenchRow> benchRows(const std::vector<PartTiming>& parts);

// The table: a header of part numbers, per row a line of medians and a line of min-max; the
// "wall / frame" row adds a line of means, the figure builds that print means compare with.
std::string benchTable(const std::vector<BenchRow>& rows);
// "part,pass,median_ms,min_ms,max_ms", then one line per part and row.
std::string benchCsv(const std::vector<BenchRow>& rows);

// The medians of an earlier CSV by part (from 1) and row name; nullopt with `error` set to one
// line when the text is not such a file.
struct OldMedian {
  int part = 0;
  std::string pass;
  double median = 0.0;
};
std::optional<std::vector<OldMedian>> parseBenchCsv(const std::string& text, std::string& error);
// The table of ratios new/old of the medians ("-" where either side has no cell), then the
// totals of the wall and GPU sums over the parts both runs measured.
std::string benchComparison(const std::vector<BenchRow>& rows, const std::vector<OldMedian>& old);
