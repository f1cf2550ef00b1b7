// A box's pixel bounds.
#include "render/pixel_box.h"

#include <algorithm>
#include <cmath>

namespace {

struct Span {
  int first = 0;
  int count = 0;
};

// Pixels k with (k + 0.5) / size strictly between `from` and `from + length`, widened by one
// on each side so that the shader's own rounding decides at the edges.
Span centresInside(float from, float length, int size) {
  const float low = from * static_cast<float>(size) - 0.5f;
  const float high = (from + length) * static_cast<float>(size) - 0.5f;
  const int first = std::max(static_cast<int>(std::floor(low)), 0);
  const int last = std::min(static_cast<int>(std::ceil(high)), size - 1);
  return {first, std::max(last - first + 1, 0)};
}

}  // namespace

PixelBox pixelsCovering(UvBox box, int width, int height) {
  const Span columns = centresInside(box.left, box.width, width);
  const Span rows = centresInside(box.bottom, box.height, height);
  return {columns.first, rows.first, columns.count, rows.count};
}
