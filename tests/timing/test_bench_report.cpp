// The frame benchmark's report: statistics per cell, the table, the CSV and the comparison.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "timing/bench_report.h"

namespace {

// Two parts: the first runs scene and bloom, the second scene only; wall times chosen so that
// the overhead is known.
std::vector<PartTiming> twoParts(double scale = 1.0) {
  std::vector<PartTiming> parts(2);
  parts[0].partName = "one";
  for (double ms : {1.0, 3.0, 2.0, 10.0}) parts[0].addFrame({{"scene", ms * scale}, {"bloom", scale}}, (ms + 2.0) * scale);
  parts[1].partName = "two";
  parts[1].addFrame({{"scene", 4.0 * scale}}, 5.0 * scale);
  return parts;
}

const BenchRow& rowNamed(const std::vector<BenchRow>& rows, const std::string& name) {
  return *std::find_if(rows.begin(), rows.end(), [&](const BenchRow& row) { return row.name == name; });
}

}  // namespace

TEST(BenchReport, MedianMinAndMaxPerCell) {
  const CellStats odd = statsOf({5.0, 1.0, 3.0});
  EXPECT_EQ(std::make_tuple(odd.median, odd.min, odd.max), std::make_tuple(3.0, 1.0, 5.0));
  EXPECT_EQ(statsOf({4.0, 1.0, 2.0, 10.0}).median, 3.0);
  EXPECT_EQ(statsOf({4.0, 1.0, 2.0, 10.0}).mean, 4.25);

  const std::vector<BenchRow> rows = benchRows(twoParts());
  ASSERT_EQ(rows.front().name, "scene");  // passes in order of first use, then the sums
  EXPECT_EQ(rows.front().cells[0]->median, 2.5);
  EXPECT_EQ(rows.front().cells[0]->max, 10.0);
  EXPECT_FALSE(rowNamed(rows, "bloom").cells[1]) << "part two has no bloom";
  EXPECT_EQ(rowNamed(rows, "GPU sum").cells[0]->median, 3.5);  // per frame scene + bloom
  EXPECT_EQ(rowNamed(rows, "overhead ms").cells[0]->median, 1.0);
  EXPECT_EQ(rowNamed(rows, "overhead %").cells[1]->median, 20.0);
  EXPECT_NE(benchTable(rows).find("1.00-10.00"), std::string::npos) << "min-max under the median";
  const std::string table = benchTable(rows);
  const size_t means = table.find("  mean");
  ASSERT_NE(means, std::string::npos) << "the wall's means under its range";
  EXPECT_NE(table.substr(means, table.find('\n', means) - means).find("6.00"), std::string::npos) << table;
}

TEST(BenchReport, CsvRoundTripsIntoRatios) {
  const std::vector<BenchRow> rows = benchRows(twoParts());
  std::string error;
  const auto old = parseBenchCsv(benchCsv(benchRows(twoParts(2.0))), error);
  ASSERT_TRUE(old) << error;
  EXPECT_EQ(old->size(), 11u);  // part one: 2 passes and 4 sums, part two: 1 pass and 4 sums
  const std::string comparison = benchComparison(rows, *old);
  // Every cell halves except the overhead percentages, which do not change with scale.
  size_t halves = 0;
  for (size_t at = comparison.find("0.500"); at != std::string::npos; at = comparison.find("0.500", at + 1)) ++halves;
  EXPECT_EQ(halves, 9u + 2u) << comparison;  // nine cells and the two totals
  EXPECT_NE(comparison.find("wall 0.500, GPU 0.500"), std::string::npos) << comparison;

  for (const std::string bad : {"", "part,pass\n1,scene,x,1,1\n", "0,scene,1,1,1\n"}) {
    EXPECT_FALSE(parseBenchCsv(bad, error)) << bad;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}
