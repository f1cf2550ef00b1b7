// Tile mesh arithmetic: build of the arrays, the per-frame vertex rebuild and the MVP.
// No GL here (tile_mesh_gl.cpp holds the buffers and the draw).
#include "geometry/tile_mesh.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "geometry/random_seeds.h"

namespace {

constexpr double pi = 3.14159265358979323846;
// The explosion's outward push per squared update-time unit, times offset and speed.
constexpr double explosionSpread = 0.012656249;

// Corners of a tile in the order written: (+h, +h), (+h, -h), (-h, -h), (-h, +h), as signs,
// with the texture corner each one takes (0 or 1 cell to the right / up).
constexpr int cornerSigns[4][2] = {{1, 1}, {1, -1}, {-1, -1}, {-1, 1}};
constexpr int cornerCells[4][2] = {{1, 1}, {1, 0}, {0, 0}, {0, 1}};

double tileLife(const TileMesh& mesh, const TileState& tile, int row, int column, double t) {
  if (mesh.exploding) return std::max(1.0 - 0.375 * t * tile.speedZ, 0.0);
  if (mesh.shimmer) return 0.8 + 0.2 * std::sin(row + t * pi / 4.0) * std::cos(column + t * pi / 2.0);
  return mesh.opacity;
}

}  // namespace

double RandomSpeed() {
  std::mt19937 generator(deviceSeed());
  return 0.05 + 0.3 * unitFromTwoWords(generator);
}

Mat4 tileMvp(Vec3 position, float rxDegrees, float ryDegrees, float rzDegrees, float aspect) {
  constexpr float toRadians = static_cast<float>(pi / 180.0);
  const Mat4 projection = Mat4::perspective(45.0f * toRadians, aspect, 1.0f, 100.0f);
  const Mat4 model = Mat4::identity()
                         .translate(position)
                         .rotate(rxDegrees * toRadians, {1.0f, 0.0f, 0.0f})
                         .rotate(ryDegrees * toRadians, {0.0f, 1.0f, 0.0f})
                         .rotate(rzDegrees * toRadians, {0.0f, 0.0f, 1.0f});
  return projection * model;
}

void TileMesh::buildArrays() {
  vertices.assign(static_cast<size_t>(tileCount) * floatsPerTile, 0.0f);
  indices.clear();
  indices.reserve(static_cast<size_t>(tileCount) * indicesPerTile);
  tiles.clear();
  tiles.reserve(tileCount);
  uint32_t k = 0;
  for (int row = 0; row < gridSize; ++row) {
    for (int column = 0; column < gridSize; ++column, ++k) {
      for (uint32_t corner : {0u, 1u, 3u, 1u, 2u, 3u}) indices.push_back(4 * k + corner);
      TileState tile;
      tile.offsetX = column - gridSize / 2;
      tile.offsetY = row - gridSize / 2;
      tile.speedX = RandomSpeed();
      tile.speedY = RandomSpeed();
      tile.speedZ = RandomSpeed();
      tiles.push_back(tile);
    }
  }
  writeCursor = 0;
}

void TileMesh::rebuildVertices(double t) {
  // A mesh that was never built has nothing to rewrite.
  if (vertices.size() != static_cast<size_t>(tileCount) * floatsPerTile || tiles.size() != static_cast<size_t>(tileCount))
    return;
  const double d = 1.0 / gridSize;
  const double h = d;
  writeCursor = 0;
  int k = 0;
  for (int row = 0; row < gridSize; ++row) {
    const double y = -1.0 + 2.0 * d * row;
    const double v = d * row;
    for (int column = 0; column < gridSize; ++column, ++k) {
      const double x = -1.0 + 2.0 * d * column;
      const double u = d * column;
      const TileState& tile = tiles[k];
      const double life = tileLife(*this, tile, row, column, t);
      double cx = x, cy = y;
      if (exploding) {
        cx = x + explosionSpread * t * t * tile.offsetX * tile.speedX;
        cy = y + explosionSpread * t * t * tile.offsetY * tile.speedY - std::cos(0.06 * pi * t);
      }
      for (int corner = 0; corner < 4; ++corner) {
        float* out = &vertices[writeCursor];
        out[0] = static_cast<float>(cornerSigns[corner][0] * h);
        out[1] = static_cast<float>(cornerSigns[corner][1] * h);
        out[2] = 0.0f;
        out[3] = static_cast<float>(u + cornerCells[corner][0] * d);
        out[4] = static_cast<float>(v + cornerCells[corner][1] * d);
        out[5] = static_cast<float>(life);
        out[6] = static_cast<float>(k);
        out[7] = static_cast<float>(cx);
        out[8] = static_cast<float>(cy);
        writeCursor += floatsPerVertex;
      }
    }
  }
}
