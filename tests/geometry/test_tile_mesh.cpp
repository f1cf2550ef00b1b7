// The tile mesh: tile speeds, the arrays of the build, the per-frame rebuild (rest grid,
// shimmer, explosion, life running out, replay), the MVP, and on GL the upload and what the mesh
// shaders draw (squared colours, the w = 2 halving, the lift that cancels the first drop).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "render/display_settings.h"
#include "geometry/random_seeds.h"
#include "geometry/tile_mesh.h"
#include "geometry/tile_sampled_rows.h"
#include "render/shader_program.h"
#include "scenes/tile_pass.h"
#include "tests/support/gl_context.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int N = TileMesh::gridSize;

struct Vertex {
  float corner[3], tex[3], data[3];
};

Vertex vertexOf(const TileMesh& mesh, int tile, int corner) {
  Vertex v;
  std::memcpy(&v, &mesh.vertices[static_cast<size_t>(tile) * TileMesh::floatsPerTile + corner * 9], sizeof v);
  return v;
}

void expectVertex(const Vertex& v, std::initializer_list<double> want) {
  const float* got = &v.corner[0];
  int i = 0;
  for (double w : want) {
    EXPECT_NEAR(got[i], w, 2e-6) << "component " << i;
    ++i;
  }
}

TileMesh builtMesh() {
  TileMesh mesh;
  mesh.buildArrays();
  return mesh;
}

int tileAt(int row, int column) { return row * N + column; }

}  // namespace

TEST(RandomSpeed, CombinesTheFirstTwoWordsOfAFreshGeneratorInto5To35Hundredths) {
  // MT19937 seeded with its default 5489 starts 3499211612, 581869302.
  useFixedSeeds(5489);
  const double unit = (3499211612.0 + 581869302.0 * 4294967296.0) / 18446744073709551616.0;
  EXPECT_DOUBLE_EQ(RandomSpeed(), 0.05 + 0.3 * unit);
}

TEST(TileMeshBuild, TilesRunRowMajorFromTheBottomWithTwoTrianglesAndThreeSpeedsEach) {
  const TileMesh mesh = builtMesh();
  ASSERT_EQ(mesh.tiles.size(), 3136u);
  EXPECT_EQ(mesh.vertices.size(), 112896u);
  ASSERT_EQ(mesh.indices.size(), 18816u);
  EXPECT_EQ(std::vector<uint32_t>(mesh.indices.end() - 6, mesh.indices.end()),
            (std::vector<uint32_t>{12540, 12541, 12543, 12541, 12542, 12543})) << "the last tile's two triangles";
  // The speeds are drawn x, y, z per tile.
  useFixedSeeds(700);
  const TileMesh seeded = builtMesh();
  useFixedSeeds(700);
  for (double TileState::*speed : {&TileState::speedX, &TileState::speedY, &TileState::speedZ})
    EXPECT_EQ(seeded.tiles[0].*speed, RandomSpeed());
}

TEST(TileMeshUpdate, AtRestEveryTileSitsOnItsGridPointWithItsCellOfThePicture) {
  TileMesh mesh = builtMesh();
  mesh.shimmer = false;
  mesh.opacity = 0.7f;
  mesh.rebuildVertices(123.0);
  // Tile (row 1, column 1): centre (-1 + 2/56, -1 + 2/56), cell from u = v = 1/56 to 2/56,
  // corners +-1/56; corners in the order (+,+), (+,-), (-,-), (-,+).
  const double h = 1.0 / 56, lo = 1.0 / 56, hi = 2.0 / 56, c = -1.0 + 2.0 / 56;
  const int k = tileAt(1, 1);
  expectVertex(vertexOf(mesh, k, 0), {h, h, 0, hi, hi, 0.7, 57, c, c});
  expectVertex(vertexOf(mesh, k, 1), {h, -h, 0, hi, lo, 0.7, 57, c, c});
  expectVertex(vertexOf(mesh, k, 2), {-h, -h, 0, lo, lo, 0.7, 57, c, c});
  expectVertex(vertexOf(mesh, k, 3), {-h, h, 0, lo, hi, 0.7, 57, c, c});
}

TEST(TileMeshUpdate, ShimmerRipplesTheLifeBetweenSixAndTenTenthsWithoutMovingTiles) {
  TileMesh mesh = builtMesh();
  // Row 0, column 0 at t = 2: 0.8 + 0.2 sin(pi/2) cos(pi) = 0.6, the low end.
  mesh.rebuildVertices(2.0);
  EXPECT_NEAR(vertexOf(mesh, 0, 0).tex[2], 0.6, 1e-6);
  for (double t : {0.0, 0.37, 5.5, 600.25}) {
    mesh.rebuildVertices(t);
    float low = 2.0f, high = -1.0f;
    for (int k = 0; k < TileMesh::tileCount; ++k) {
      const Vertex v = vertexOf(mesh, k, 0);
      low = std::min(low, v.tex[2]);
      high = std::max(high, v.tex[2]);
      ASSERT_FLOAT_EQ(v.data[1], static_cast<float>(-1.0 + 2.0 * (k % N) / N)) << "tile " << k;
    }
    EXPECT_GE(low, 0.6f - 1e-6f);
    EXPECT_LE(high, 1.0f + 1e-6f);
    EXPECT_GT(high - low, 0.2f) << "the life ripples at t = " << t;
  }
}

TEST(TileMeshUpdate, ExplodingTilesFlyOutwardByOffsetTimesSpeedAndFadeBySpeedZButTheCentreTileOnlyBobs) {
  TileMesh mesh = builtMesh();
  mesh.exploding = true;
  mesh.tiles[0].speedX = 0.2;
  mesh.tiles[0].speedY = 0.3;
  mesh.tiles[0].speedZ = 0.1;
  mesh.rebuildVertices(4.0);
  // 0.012656249 * 16 = 0.202499984; times -28 and the speeds; cos(0.24 pi) = 0.728968627.
  const Vertex v = vertexOf(mesh, 0, 2);
  EXPECT_NEAR(v.data[1], -1.0 - 0.202499984 * 28 * 0.2, 1e-6);
  EXPECT_NEAR(v.data[2], -1.0 - 0.202499984 * 28 * 0.3 - 0.728968627, 1e-6);
  EXPECT_NEAR(v.tex[2], 1.0 - 0.375 * 4 * 0.1, 1e-6);
  // The centre tile does not move sideways; it only rises and falls with the cosine term.
  const int centre = tileAt(28, 28);
  for (double t : {0.0, 3.0, 17.5, 40.0}) {
    mesh.rebuildVertices(t);
    const Vertex v = vertexOf(mesh, centre, 0);
    EXPECT_EQ(v.data[1], 0.0f) << "t = " << t;
    EXPECT_NEAR(v.data[2], -std::cos(0.06 * kPi * t), 1e-6) << "t = " << t;
  }
}

TEST(TileMeshUpdate, EveryLifeEndsBetween7Point6And53Point4AndTheExplosionReplays) {
  TileMesh mesh = builtMesh();
  mesh.exploding = true;
  mesh.rebuildVertices(7.6);
  for (int k = 0; k < TileMesh::tileCount; ++k) ASSERT_GT(vertexOf(mesh, k, 0).tex[2], 0.0f) << "tile " << k;
  const std::vector<float> early = mesh.vertices;
  mesh.rebuildVertices(53.4);
  for (int k = 0; k < TileMesh::tileCount; ++k) ASSERT_EQ(vertexOf(mesh, k, 0).tex[2], 0.0f) << "tile " << k;
  mesh.rebuildVertices(7.6);
  EXPECT_EQ(mesh.vertices, early) << "setting the time back replays the explosion";
}

TEST(TileMvp, MovesByThePositionAfterTurningAboutXThenYThenZOfTheModel) {
  // A quarter turn about z takes (1, 0, 0) to (0, 1, 0); the quarter turn about x then takes
  // it to (0, 0, 1); moved to depth -5 it sits at -4 (w = 4 after the projection).
  const Mat4 mvp = tileMvp({0.0f, 0.0f, -5.0f}, 90.0f, 0.0f, 90.0f, 1.0f);
  const Vec4 clip = transform(mvp, {1.0f, 0.0f, 0.0f, 1.0f});
  EXPECT_NEAR(clip.x, 0.0f, 1e-5f);
  EXPECT_NEAR(clip.y, 0.0f, 1e-5f);
  EXPECT_NEAR(clip.w, 4.0f, 1e-5f);
}

constexpr int glSize = 32;

class TileMeshGlTest : public GlTest {
 protected:
  static constexpr int size = glSize;
  void SetUp() override {
    GlTest::SetUp();
    settings.renderWidth = settings.renderHeight = size;
  }
};

TEST_F(TileMeshGlTest, DrawUploadsTheVerticesOfFourTimesTheCallersTime) {
  useFixedSeeds(40);
  TileMesh mesh;
  mesh.buildTiles();
  const std::unique_ptr<ShaderProgram> program = buildTileProgram();
  glUseProgram(program->programId);
  mesh.exploding = true;
  mesh.drawTiles(1.5, *program);
  glFinish();
  std::vector<float> uploaded(mesh.vertices.size());
  glBindBuffer(GL_ARRAY_BUFFER, mesh.vbo);
  glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(uploaded.size() * sizeof(float)), uploaded.data());
  TileMesh reference = mesh;
  reference.rebuildVertices(6.0);
  EXPECT_EQ(uploaded, reference.vertices);
  glBindVertexArray(0);
}

namespace {

// The mesh drawn over a target cleared to `background`, as a scene draws it over its picture:
// `texels` of a square picture `side` texels wide.
std::vector<float> drawMesh(TileMesh& mesh, double meshTime, const std::vector<float>& texels, int side,
                            std::array<float, 4> background) {
  static const std::unique_ptr<ShaderProgram> program = buildTileProgram();
  const TestTarget target = makeTestTarget(glSize, glSize, GL_RGBA32F);
  const GLuint texture = uploadTestTextureFloat(side, side, texels.data());
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
  glClearColor(background[0], background[1], background[2], background[3]);
  glClear(GL_COLOR_BUFFER_BIT);
  const PassChain chain{{target.framebuffer}, {target.texture}, {}, 0, target.texture};
  runTilePass(chain, mesh, *program, texture, meshTime);
  glFinish();
  std::vector<float> pixels = readTargetFloats(target);
  glDeleteTextures(1, &texture);
  glDeleteTextures(1, &target.texture);
  glDeleteFramebuffers(1, &target.framebuffer);
  glBindVertexArray(0);
  return pixels;
}

// A flat picture of one colour.
std::vector<float> drawMesh(TileMesh& mesh, double meshTime, std::array<float, 4> picture, std::array<float, 4> background) {
  std::vector<float> texels;
  for (int i = 0; i < 16; ++i) texels.insert(texels.end(), picture.begin(), picture.end());
  return drawMesh(mesh, meshTime, texels, 4, background);
}

float redAt(const std::vector<float>& pixels, int x, int y) {
  return pixels[(static_cast<size_t>(y) * glSize + x) * 4];
}

}  // namespace

TEST_F(TileMeshGlTest, RestingTilesShowThePictureSquaredBlendedByLifeAndHalvedInSize) {
  TileMesh mesh;
  mesh.buildTiles();
  mesh.shimmer = false;
  mesh.opacity = 0.5f;
  mesh.position = {0.0f, 0.0f, -1.391f};
  const std::vector<float> pixels = drawMesh(mesh, 0.0, {0.5f, 0.8f, 0.2f, 1.0f}, {0.1f, 0.1f, 0.1f, 1.0f});
  // Centre: half of (0.25, 0.64, 0.04) over half the background.
  const size_t centre = (16 * size + 16) * 4;
  EXPECT_NEAR(pixels[centre], 0.5f * 0.25f + 0.05f, 1e-4f);
  EXPECT_NEAR(pixels[centre + 1], 0.5f * 0.64f + 0.05f, 1e-4f);
  EXPECT_NEAR(pixels[centre + 2], 0.5f * 0.04f + 0.05f, 1e-4f);
  // With w = 2 the grid [-1 - 1/56, 1 - 1/56] counts half: at depth 1.391 it spans about
  // -0.883 to 0.852 of the screen, so of 32 columns (centres at (i + 0.5) / 16 - 1) the first
  // two and the last two stay background.
  EXPECT_FLOAT_EQ(redAt(pixels, 1, 16), 0.1f);
  EXPECT_NEAR(redAt(pixels, 2, 16), 0.175f, 1e-4f);
  EXPECT_NEAR(redAt(pixels, 29, 16), 0.175f, 1e-4f);
  EXPECT_FLOAT_EQ(redAt(pixels, 30, 16), 0.1f);
}

TEST_F(TileMeshGlTest, TheHalfUnitLiftCancelsTheExplosionsFirstDrop) {
  TileMesh mesh;
  mesh.buildTiles();
  mesh.shimmer = false;
  mesh.position = {0.0f, 0.0f, -1.3f};
  const std::array<float, 4> picture{0.9f, 0.6f, 0.3f, 1.0f}, background{0.0f, 0.0f, 0.2f, 1.0f};
  const std::vector<float> resting = drawMesh(mesh, 0.0, picture, background);
  mesh.exploding = true;
  mesh.position.y = 0.5f;
  const std::vector<float> lifted = drawMesh(mesh, 0.0, picture, background);
  int differing = 0;
  for (size_t i = 0; i < resting.size(); ++i) differing += std::fabs(resting[i] - lifted[i]) > 1e-4f;
  EXPECT_EQ(differing, 0);
  mesh.position.y = 0.0f;
  const std::vector<float> dropped = drawMesh(mesh, 0.0, picture, background);
  // Unlifted, the picture stands half a unit lower: its top rows show the background.
  EXPECT_GT(redAt(resting, 16, 27), 0.5f);
  EXPECT_FLOAT_EQ(redAt(dropped, 16, 27), 0.0f);
}

TEST_F(TileMeshGlTest, FadedTilesCollapseOntoTheModelOriginAndVanish) {
  TileMesh mesh;
  mesh.buildTiles();
  mesh.exploding = true;
  mesh.position = {0.0f, 0.0f, -1.391f};
  // Update time 4 x 14 = 56 lies past every tile's end (53.3 at the slowest speed).
  const std::vector<float> pixels = drawMesh(mesh, 14.0, {1, 1, 1, 1}, {0.25f, 0.25f, 0.25f, 1});
  for (size_t i = 0; i < pixels.size(); i += 4) ASSERT_FLOAT_EQ(pixels[i], 0.25f) << "pixel " << i / 4;
}

TEST_F(TileMeshGlTest, ExplodingTilesShowNoPictureRowOutsideTheirSampledRowsInTheShownRows) {
  TileMesh mesh;
  mesh.buildTiles();
  mesh.exploding = true;
  mesh.position = {0.0f, 0.5f, -1.2f};
  const RowSpan shown{8, 16};
  auto picture = [&](RowSpan kept, float outside) {
    std::vector<float> texels;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const bool in = y >= kept.first && y < kept.first + kept.count;
        texels.insert(texels.end(), {in ? (x + y % 7) / 40.0f : outside, 0.5f, 0.5f, 1.0f});
      }
    return texels;
  };
  for (double meshTime : {0.3, 1.5, 4.0}) {
    mesh.rebuildVertices(4.0 * meshTime);
    const RowSpan sampled = tileSampledRows(mesh, mesh.frameMvp(), shown, size);
    EXPECT_LT(sampled.count, size) << "some rows land outside the shown ones at " << meshTime;
    const std::vector<float> a = drawMesh(mesh, meshTime, picture(sampled, 0.0f), size, {0, 0, 0, 1});
    const std::vector<float> b = drawMesh(mesh, meshTime, picture(sampled, 1.0f), size, {0, 0, 0, 1});
    for (int y = shown.first; y < shown.first + shown.count; ++y)
      for (int x = 0; x < size; ++x) ASSERT_EQ(redAt(a, x, y), redAt(b, x, y)) << x << "," << y << " at " << meshTime;
  }
}
