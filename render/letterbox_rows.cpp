// Letterbox band and pass reaches; the tap counts and lengths follow the pass files under
// shaders/postprocessors/ and shaders/scenes/tentacle_dof.glsl.
#include "render/letterbox_rows.h"

#include <algorithm>
#include <cmath>

namespace {

// Where the bars end: the composite shows the window rows whose texture coordinate lies in
// [0.1, 0.9], and each samples the two texel rows around it.
constexpr double bandLow = 0.1;
constexpr double bandHigh = 0.9;
// One row more on each side than the arithmetic needs: the shaders round in single precision.
constexpr int roundingRows = 1;

// The spiral taps' growth: r starts at 1 and gains 1/r per tap; the last tap lies r - 1 out.
double spiralGrowth(int taps) {
  double r = 1.0;
  for (int i = 0; i < taps; ++i) r += 1.0 / r;
  return r - 1.0;
}

// Rows reached by a read `offset` texture heights away: the offset's rows and the bilinear one.
int rowsFor(double offset, int height) { return static_cast<int>(std::ceil(std::abs(offset) * height)) + 1; }

}  // namespace

RowSpan widenedRows(RowSpan read, int reachRows, int height) {
  if (read.count <= 0) return {read.first, 0};
  const int reach = std::max(reachRows, 0) + roundingRows;
  const int first = std::clamp(read.first - reach, 0, height);
  const int last = std::clamp(read.first + read.count - 1 + reach, first - 1, height - 1);
  return {first, last - first + 1};
}

RowSpan letterboxBand(int height) {
  const int low = static_cast<int>(std::floor(bandLow * height - 0.5));
  const int high = static_cast<int>(std::floor(bandHigh * height - 0.5)) + 1;
  return {low, high - low + 1};
}

RowSpan letterboxedRows(int height, int reachRows) { return widenedRows(letterboxBand(height), reachRows, height); }

int spiralDofReachRows(int height) { return rowsFor(0.002 * spiralGrowth(60), height); }

int bokehReachRows(int height, float radius) {
  return rowsFor(3.0 * radius * 0.01 / std::sqrt(150.0) * spiralGrowth(150), height);
}

int fxaaReachRows() { return 8 / 2 + 1; }

int tentacleFocusReachRows() { return 6; }

int pixelateReachRows(int height, float pixelValue) { return rowsFor(std::max(pixelValue, 0.0f) / 512.0, height); }
