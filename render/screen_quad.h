// The full-screen quad every pass draws over, and its vertex shader.
// Owns: the vertex table, creating and drawing the quad, the screen-quad vertex text.
// Does NOT bind programs or framebuffers.
#pragma once
#include <array>
#include <cstdint>
#include <string>

struct ScreenQuad {
  uint32_t vao = 0;
  uint32_t vbo = 0;
};

// Two counter-clockwise triangles, (x, y, u, v) per vertex; (0, 0) is the bottom-left texel.
inline constexpr std::array<float, 24> screenQuadVertices = {
    -1.0f, 1.0f,  0.0f, 1.0f,  //
    -1.0f, -1.0f, 0.0f, 0.0f,  //
    1.0f,  -1.0f, 1.0f, 0.0f,  //
    -1.0f, 1.0f,  0.0f, 1.0f,  //
    1.0f,  -1.0f, 1.0f, 0.0f,  //
    1.0f,  1.0f,  1.0f, 1.0f,  //
};

// The file hot reload passes as the vertex argument of every full-screen program.
inline constexpr const char* screenQuadVertexPath = "./shaders/screenquad_vtx.glsl";

// The embedded copy of that file: the vertex text of every full-screen program at init.
const std::string& screenQuadVertexSource();

// Builds the vertex array and buffer; the new vertex array stays bound.
ScreenQuad createScreenQuad();
// Binds the quad's vertex array and draws its six vertices.
void drawScreenQuad(const ScreenQuad& quad);
