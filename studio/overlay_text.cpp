// Baked-font overlay text.
#include "studio/overlay_text.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

// Private to this file, so no other user of the library in the program can clash with it.
#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb_truetype.h>
#pragma GCC diagnostic pop

#include "render/embedded_shaders.h"
#include "render/render_targets.h"

namespace {

constexpr int atlasSize = 512;
constexpr char firstGlyph = ' ';
constexpr int glyphCount = 96;
constexpr int floatsPerVertex = 8;
constexpr float boxPadding = 6.0f;
const std::array<float, 4> boxColor = {0.0f, 0.0f, 0.0f, 0.6f};

std::string embeddedText(const char* path) {
  const std::string* text = findEmbeddedShader(path);
  return text ? *text : std::string();
}

}  // namespace

bool OverlayText::load(const std::string& fontPath, float pixelHeight) {
  std::ifstream in(fontPath, std::ios::binary);
  const std::vector<unsigned char> font{std::istreambuf_iterator<char>(in), {}};
  stbtt_fontinfo info;
  if (font.empty() || !stbtt_InitFont(&info, font.data(), stbtt_GetFontOffsetForIndex(font.data(), 0))) return false;
  std::vector<unsigned char> bitmap(atlasSize * atlasSize, 0);
  stbtt_bakedchar baked[glyphCount];
  stbtt_BakeFontBitmap(font.data(), 0, pixelHeight, bitmap.data(), atlasSize, atlasSize, firstGlyph, glyphCount,
                       baked);
  // The far corner texel stays fully covered, for the boxes behind the text.
  bitmap.back() = 255;
  for (int i = 0; i < glyphCount; ++i) {
    const stbtt_bakedchar& b = baked[i];
    glyphs_[i] = {float(b.x0), float(b.y0), float(b.x1), float(b.y1), b.xoff, b.yoff, b.xadvance};
  }
  int ascent = 0, descent = 0, gap = 0;
  stbtt_GetFontVMetrics(&info, &ascent, &descent, &gap);
  const float scale = stbtt_ScaleForPixelHeight(&info, pixelHeight);
  ascent_ = ascent * scale;
  lineHeight_ = (ascent - descent + gap) * scale;

  glGenTextures(1, &atlas_);
  bindTextureOnOwnUnit(atlas_);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, atlasSize, atlasSize, 0, GL_RED, GL_UNSIGNED_BYTE, bitmap.data());
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

  program_ = std::make_unique<ShaderProgram>(false, embeddedText("./shaders/studio/overlay_text_vtx.glsl"),
                                             embeddedText("./shaders/studio/overlay_text.glsl"), "");
  glGenVertexArrays(1, &vao_);
  glGenBuffers(1, &vbo_);
  glBindVertexArray(vao_);
  glBindBuffer(GL_ARRAY_BUFFER, vbo_);
  const GLsizei stride = floatsPerVertex * sizeof(float);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, nullptr);
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(2 * sizeof(float)));
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(4 * sizeof(float)));
  glBindVertexArray(0);
  ready_ = true;
  return true;
}

float OverlayText::textWidth(const std::string& text) const {
  float width = 0.0f;
  for (const char c : text) {
    const int index = c - firstGlyph;
    if (index >= 0 && index < glyphCount) width += glyphs_[index].advance;
  }
  return width;
}

void OverlayText::appendQuad(std::vector<float>& out, float x0, float y0, float x1, float y1, float u0, float v0,
                             float u1, float v1, const std::array<float, 4>& color) const {
  const float corners[6][4] = {{x0, y0, u0, v0}, {x1, y0, u1, v0}, {x1, y1, u1, v1},
                               {x0, y0, u0, v0}, {x1, y1, u1, v1}, {x0, y1, u0, v1}};
  for (const auto& corner : corners) {
    out.insert(out.end(), corner, corner + 4);
    out.insert(out.end(), color.begin(), color.end());
  }
}

void OverlayText::drawBlock(const std::vector<OverlayLine>& lines, float x, float y, uint32_t framebuffer,
                            int width, int height) {
  if (!ready_ || lines.empty()) return;
  std::vector<float> vertices;
  float blockWidth = 0.0f;
  for (const OverlayLine& line : lines) blockWidth = std::max(blockWidth, textWidth(line.text));
  const float white = (atlasSize - 0.5f) / atlasSize;
  appendQuad(vertices, x, y, x + blockWidth + 2 * boxPadding, y + lines.size() * lineHeight_ + 2 * boxPadding, white,
             white, white, white, boxColor);
  float baseline = y + boxPadding + ascent_;
  for (const OverlayLine& line : lines) {
    float penX = x + boxPadding;
    const std::array<float, 4> color = {line.color[0], line.color[1], line.color[2], 1.0f};
    for (const char c : line.text) {
      const int index = c - firstGlyph;
      if (index < 0 || index >= glyphCount) continue;
      const Glyph& g = glyphs_[index];
      const float gx = std::round(penX + g.xoff), gy = std::round(baseline + g.yoff);
      appendQuad(vertices, gx, gy, gx + (g.x1 - g.x0), gy + (g.y1 - g.y0), g.x0 / atlasSize, g.y0 / atlasSize,
                 g.x1 / atlasSize, g.y1 / atlasSize, color);
      penX += g.advance;
    }
    baseline += lineHeight_;
  }
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glViewport(0, 0, width, height);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glUseProgram(program_->programId);
  glUniform2f(glGetUniformLocation(program_->programId, "windowSize"), float(width), float(height));
  setSampler(program_->programId, "atlas", atlas_);
  glBindVertexArray(vao_);
  glBindBuffer(GL_ARRAY_BUFFER, vbo_);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(float)), vertices.data(),
               GL_STREAM_DRAW);
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size() / floatsPerVertex));
  glBindVertexArray(0);
  glDisable(GL_BLEND);
}
