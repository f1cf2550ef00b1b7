// TileMesh: a picture cut into a 56 x 56 grid of small textured tiles, drawn as one indexed
// triangle mesh in front of a ray-marched image. At rest the tiles form the whole picture and
// shimmer; exploding, each tile flies outward on its own random path, drifts, shrinks toward
// the model origin and fades out.
// Owns: the index, vertex and tile arrays, the per-frame CPU rebuild (GL-free: buildArrays and
// rebuildVertices), the GL objects, the draw with its MVP, the tile speeds (RandomSpeed) and
// the paths of the two mesh shaders. Does NOT make the program current, bind the picture or set
// blending: the owning scene does that before drawTiles.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "geometry/mat4.h"

class ShaderProgram;

// The mesh program's two stages (embedded at init, never reloaded).
inline constexpr const char* tileVertexFile = "./shaders/scenes/tiles_vtx.glsl";
inline constexpr const char* tileFragmentFile = "./shaders/scenes/tiles_frag.glsl";

// The mesh program from the embedded copies of the two stages.
std::unique_ptr<ShaderProgram> buildTileProgram();

// One tile's fixed data, in double precision. Tiles are numbered k = row * 56 + column, from
// the bottom row up.
struct TileState {
  double unused0 = 0.0;  // always 0
  double unused1 = 0.0;  // always 0
  double offsetX = 0.0;  // column - 28: place relative to the grid centre, in tiles
  double offsetY = 0.0;  // row - 28
  double speedX = 0.0;   // each drawn from RandomSpeed
  double speedY = 0.0;
  double speedZ = 0.0;   // how fast the life runs out
  double unused2 = 1.0;  // always 1
};

// A double in [0.05, 0.35): a fresh MT19937 seeded with deviceSeed() (the OS random device, or
// the offline renderer's fixed counter), its first two words as one unit value.
double RandomSpeed();

// Where a frame's tile mesh stands and whether it explodes; scenes pick it by part time.
struct TilePlacement {
  Vec3 position;
  bool exploding = false;
  double meshTime = 0.0;  // handed to drawTiles and to the `time` uniform
};

// projection(45 degrees, aspect, 1, 100) x model, the model translated by `position` and then
// turned about x, y and z by the given angles in degrees.
Mat4 tileMvp(Vec3 position, float rxDegrees, float ryDegrees, float rzDegrees, float aspect);

struct TileMesh {
  static constexpr int gridSize = 56;
  static constexpr int tileCount = gridSize * gridSize;  // 3136
  static constexpr int floatsPerTile = 36;               // 4 vertices of 9 floats
  static constexpr int floatsPerVertex = 9;               // aPos, aTexCoord (u, v, life), vertexData (k, cx, cy)
  static constexpr int indicesPerTile = 6;

  int writeCursor = 0;             // next float of `vertices` to write during a rebuild
  std::vector<uint32_t> indices;   // 6 per tile, built once
  std::vector<float> vertices;     // tileCount * floatsPerTile, rewritten in place every frame
  std::vector<TileState> tiles;    // built once; speeds fixed from then on

  Vec3 position;          // where the grid centre sits in view space
  float opacity = 1.0f;   // life value when neither shimmering nor exploding
  bool exploding = false;
  bool shimmer = true;

  uint32_t vao = 0;
  uint32_t vbo = 0;
  uint32_t ebo = 0;

  // CPU half of the build: zeroed vertices, the index array and one TileState per tile, the
  // three speeds drawn in the order x, y, z.
  void buildArrays();
  // buildArrays, then the vertex array, vertex buffer and element buffer.
  void buildTiles();
  // Rewrites every tile's four vertices for update time t (four times the caller's time).
  void rebuildVertices(double t);
  // rebuildVertices, then the whole vertex array uploaded again.
  void updateTiles(double t);
  // The MVP drawTiles uses: `position`, then the shared turns rx, ry, rz, at the render aspect.
  Mat4 frameMvp() const;
  // The caller has made `program` current, bound the picture as texChannel0, set `time` = t and
  // enabled alpha blending. Updates with 4 t, sets `exploding` and `MVP`, draws every tile.
  void drawTiles(double t, const ShaderProgram& program);
};
