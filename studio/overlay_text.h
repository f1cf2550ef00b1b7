// Text over the finished picture: a glyph atlas baked from a TrueType font with stb_truetype
// (printable ASCII), drawn as blended quads straight into the window framebuffer, with a dark
// box behind each block so it stays legible on any picture.
// Owns: the atlas texture, its program, vertex array and buffer. Does NOT draw into the demo's
// render targets, and draws nothing when the font could not be loaded.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "render/shader_program.h"

struct OverlayLine {
  std::string text;
  std::array<float, 3> color{1.0f, 1.0f, 1.0f};
};

class OverlayText {
 public:
  // Bakes the atlas at `pixelHeight` and builds the program; false (and draws nothing later)
  // when the font file cannot be read.
  bool load(const std::string& fontPath, float pixelHeight);
  bool ready() const { return ready_; }
  float lineHeight() const { return lineHeight_; }
  // Width in pixels of `text` as drawn.
  float textWidth(const std::string& text) const;
  // The lines top-down from (x, y), window pixels from the top left, over a dark box, into
  // `framebuffer` of the given size.
  void drawBlock(const std::vector<OverlayLine>& lines, float x, float y, uint32_t framebuffer, int width,
                 int height);

 private:
  struct Glyph {
    float x0, y0, x1, y1;  // atlas pixels
    float xoff, yoff, advance;
  };
  void appendQuad(std::vector<float>& out, float x0, float y0, float x1, float y1, float u0, float v0, float u1,
                  float v1, const std::array<float, 4>& color) const;

  bool ready_ = false;
  float lineHeight_ = 0.0f;
  float ascent_ = 0.0f;
  std::array<Glyph, 96> glyphs_{};  // ' ' to '~'
  std::unique_ptr<ShaderProgram> program_;
  uint32_t atlas_ = 0;
  uint32_t vao_ = 0;
  uint32_t vbo_ = 0;
};
