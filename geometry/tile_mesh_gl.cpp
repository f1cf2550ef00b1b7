// Tile mesh GL side: the vertex array with its two buffers, the per-frame upload and the draw.
#include "render/gl.h"

#include "render/display_settings.h"
#include "geometry/tile_mesh.h"
#include "render/shader_files.h"
#include "render/shader_program.h"
#include "render/shared_uniforms.h"

namespace {

GLsizeiptr vertexBytes(const TileMesh& mesh) { return static_cast<GLsizeiptr>(mesh.vertices.size() * sizeof(float)); }

void setVec3Attribute(GLuint location, size_t floatOffset) {
  const GLsizei stride = TileMesh::floatsPerVertex * sizeof(float);
  glVertexAttribPointer(location, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(floatOffset * sizeof(float)));
  glEnableVertexAttribArray(location);
}

std::string embeddedStage(const char* path) {
  const auto text = loadShaderFile(ShaderFiles::Embedded, path);
  return text.value_or("");
}

}  // namespace

std::unique_ptr<ShaderProgram> buildTileProgram() {
  return std::make_unique<ShaderProgram>(false, embeddedStage(tileVertexFile), embeddedStage(tileFragmentFile), "");
}

void TileMesh::buildTiles() {
  buildArrays();
  glGenVertexArrays(1, &vao);
  glBindVertexArray(vao);
  glGenBuffers(1, &vbo);
  glBindBuffer(GL_ARRAY_BUFFER, vbo);
  glBufferData(GL_ARRAY_BUFFER, vertexBytes(*this), vertices.data(), GL_STATIC_DRAW);
  setVec3Attribute(0, 0);  // aPos: corner offset from the tile centre
  setVec3Attribute(1, 3);  // aTexCoord: u, v, life
  setVec3Attribute(2, 6);  // vertexData: tile index, centre x, centre y
  glGenBuffers(1, &ebo);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ebo);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint32_t)), indices.data(),
               GL_STATIC_DRAW);
}

void TileMesh::updateTiles(double t) {
  rebuildVertices(t);
  glBindBuffer(GL_ARRAY_BUFFER, vbo);
  // The whole array is specified again each frame, as a fresh store the driver need not sync on.
  glBufferData(GL_ARRAY_BUFFER, vertexBytes(*this), vertices.data(), GL_STATIC_DRAW);
}

Mat4 TileMesh::frameMvp() const {
  const float aspect = static_cast<float>(settings.renderWidth) / static_cast<float>(settings.renderHeight);
  return tileMvp(position, sharedUniforms.rx, sharedUniforms.ry, sharedUniforms.rz, aspect);
}

void TileMesh::drawTiles(double t, const ShaderProgram& program) {
  const Mat4 mvp = frameMvp();
  glBindVertexArray(vao);
  updateTiles(4.0 * t);
  glUniform1i(glGetUniformLocation(program.programId, "exploding"), exploding ? 1 : 0);
  glUniformMatrix4fv(glGetUniformLocation(program.programId, "MVP"), 1, GL_FALSE, mvp.data());
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ebo);
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, nullptr);
}
