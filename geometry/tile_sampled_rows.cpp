// Which picture rows the visible tiles sample: each tile bounded by a cube, projected.
#include "geometry/tile_sampled_rows.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The GPU rounds in single precision: every cube grows by this much in model units, and the
// sampled rows by one row on each side.
constexpr double cubeSlack = 1e-3;
constexpr int roundingRows = 1;
constexpr double nearestW = 1e-6;

struct NdcBox {
  double xLow = std::numeric_limits<double>::infinity();
  double xHigh = -std::numeric_limits<double>::infinity();
  double yLow = std::numeric_limits<double>::infinity();
  double yHigh = -std::numeric_limits<double>::infinity();
  bool reachesEye = false;  // a corner at or behind the eye: the box bounds nothing
};

// The screen box of the cube of half size `half` around `centre` (model units, w = 1). With
// every corner in front of the eye, the cube's projection is the hull of its corners'.
NdcBox projectCube(const Mat4& mvp, const double centre[3], double half) {
  NdcBox box;
  for (int corner = 0; corner < 8; ++corner) {
    const double p[4] = {centre[0] + ((corner & 1) ? half : -half), centre[1] + ((corner & 2) ? half : -half),
                         centre[2] + ((corner & 4) ? half : -half), 1.0};
    double clip[4] = {0.0, 0.0, 0.0, 0.0};
    for (int row = 0; row < 4; ++row)
      for (int column = 0; column < 4; ++column) clip[row] += static_cast<double>(mvp.at(row, column)) * p[column];
    if (clip[3] <= nearestW) {
      box.reachesEye = true;
      return box;
    }
    box.xLow = std::min(box.xLow, clip[0] / clip[3]);
    box.xHigh = std::max(box.xHigh, clip[0] / clip[3]);
    box.yLow = std::min(box.yLow, clip[1] / clip[3]);
    box.yHigh = std::max(box.yHigh, clip[1] / clip[3]);
  }
  return box;
}

// Whether tile k (its four vertices from `vertex`) can cover a pixel of the NDC rows
// yLow..yHigh. The vertex stage adds the centre with w = 1 to a corner with w = 1 and, when
// exploding, scales x, y, z by the life, so the tile lies within life x (corner spun + centre)
// / 2; the spin keeps the corner within its length of the centre on every axis.
bool tileCanShow(const TileMesh& mesh, const float* vertex, const Mat4& mvp, double yLow, double yHigh) {
  const double life = vertex[5];
  if (mesh.exploding && life == 0.0) return false;  // all four corners meet: nothing is drawn
  const double scale = mesh.exploding ? life : 1.0;
  const double centre[3] = {0.5 * scale * vertex[7], 0.5 * scale * vertex[8], 0.0};
  const double half = 0.5 * std::abs(scale) * std::hypot(vertex[0], vertex[1]) + cubeSlack;
  const NdcBox box = projectCube(mvp, centre, half);
  if (box.reachesEye) return true;
  return box.xHigh >= -1.0 && box.xLow <= 1.0 && box.yHigh >= yLow && box.yLow <= yHigh;
}

}  // namespace

RowSpan tileSampledRows(const TileMesh& mesh, const Mat4& mvp, RowSpan shown, int height) {
  const double yLow = 2.0 * shown.first / height - 1.0;
  const double yHigh = 2.0 * (shown.first + shown.count) / height - 1.0;
  const size_t tiles = mesh.vertices.size() / TileMesh::floatsPerTile;
  int first = height;
  int last = -1;
  for (size_t k = 0; k < tiles; ++k) {
    const float* tile = &mesh.vertices[k * TileMesh::floatsPerTile];
    if (!tileCanShow(mesh, tile, mvp, yLow, yHigh)) continue;
    double vLow = tile[4];
    double vHigh = tile[4];
    for (int corner = 1; corner < 4; ++corner) {
      vLow = std::min(vLow, static_cast<double>(tile[corner * TileMesh::floatsPerVertex + 4]));
      vHigh = std::max(vHigh, static_cast<double>(tile[corner * TileMesh::floatsPerVertex + 4]));
    }
    // A bilinear read at v takes the texel rows around v x height - 0.5.
    first = std::min(first, static_cast<int>(std::floor(vLow * height - 0.5)) - roundingRows);
    last = std::max(last, static_cast<int>(std::floor(vHigh * height - 0.5)) + 1 + roundingRows);
  }
  if (last < first) return {0, 0};
  first = std::clamp(first, 0, height - 1);
  last = std::clamp(last, first, height - 1);
  return {first, last - first + 1};
}
