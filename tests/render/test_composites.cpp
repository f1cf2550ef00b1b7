// Border composites and the end composite, drawn on tiny float targets and compared with the
// CPU arithmetic of tests/composite_model.h, plus the cases where the order of the steps shows:
// letterbox and border-line rows, fades under captions and spectrum bars, the outro closing,
// the end logo strips, centre line and fade.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/composite_files.h"
#include "render/embedded_shaders.h"
#include "render/screen_quad.h"
#include "render/shader_program.h"
#include "tests/render/composite_model.h"
#include "tests/support/gl_context.h"

namespace cm = composite_model;

namespace {

// Deterministic values in [lo, hi) so pictures differ from pixel to pixel and channel to channel.
cm::Image noiseImage(int width, int height, uint32_t seed, float lo, float hi) {
  cm::Image image{width, height, std::vector<float>(static_cast<size_t>(width) * height * 4)};
  for (float& value : image.rgba) {
    seed = seed * 1664525u + 1013904223u;
    value = lo + (hi - lo) * static_cast<float>(seed >> 8) / 16777216.0f;
  }
  return image;
}

cm::Image flatImage(int width, int height, float r, float g, float b, float a) {
  cm::Image image{width, height, {}};
  for (int i = 0; i < width * height; ++i) image.rgba.insert(image.rgba.end(), {r, g, b, a});
  return image;
}

GLuint uploadImage(const cm::Image& image) { return uploadTestTextureFloat(image.width, image.height, image.rgba.data()); }

GLuint uploadSpectrum(const std::vector<float>& bins) {
  std::vector<float> rgba;
  for (float bin : bins) rgba.insert(rgba.end(), {bin, 0.0f, 0.0f, 1.0f});
  return uploadTestTextureFloat(512, 1, rgba.data());
}

// Small fixed units keep the test independent of how many textures earlier tests made.
void bindSampler(GLuint program, const char* name, int unit, GLuint texture) {
  glActiveTexture(GL_TEXTURE0 + unit);
  glBindTexture(GL_TEXTURE_2D, texture);
  glUniform1i(glGetUniformLocation(program, name), unit);
}

void setFloat(GLuint program, const char* name, float value) { glUniform1f(glGetUniformLocation(program, name), value); }

GLuint buildEmbedded(const char* path) {
  const std::string* text = findEmbeddedShader(path);
  return text ? buildTestProgram(*text) : 0;
}

// Draws `program` over a float target the size of `picture`; `bind` sets its inputs.
template <typename Bind>
std::vector<float> drawComposite(GLuint program, int width, int height, Bind bind) {
  const TestTarget target = makeTestTarget(width, height, GL_RGBA32F);
  glUseProgram(program);
  glUniform2f(glGetUniformLocation(program, "resolution"), static_cast<float>(width), static_cast<float>(height));
  std::vector<GLuint> textures = bind();
  drawOverTarget(program, target);
  std::vector<float> pixels = readTargetFloats(target);
  glDeleteTextures(static_cast<GLsizei>(textures.size()), textures.data());
  glDeleteFramebuffers(1, &target.framebuffer);
  glDeleteTextures(1, &target.texture);
  return pixels;
}

std::vector<float> drawBorder(const char* path, const cm::BorderInputs& in) {
  const GLuint program = buildEmbedded(path);
  return drawComposite(program, in.picture.width, in.picture.height, [&] {
    setFloat(program, "time", in.time);
    setFloat(program, "partTime", in.partTime);
    setFloat(program, "overridden_black_fac", in.blackFac);
    setFloat(program, "fadeToBlackValue", in.toBlack);
    setFloat(program, "fadeToWhiteValue", in.toWhite);
    setFloat(program, "textAlpha", in.textAlpha);
    glUniform1i(glGetUniformLocation(program, "vumeters"), in.vumeters ? 1 : 0);
    std::vector<GLuint> textures = {uploadImage(in.picture), uploadImage(in.overlay), uploadImage(in.text),
                                    uploadSpectrum(in.spectrum)};
    bindSampler(program, "renderTexture", 1, textures[0]);
    bindSampler(program, "crosshairOverlay", 2, textures[1]);
    bindSampler(program, "textTexture", 3, textures[2]);
    bindSampler(program, "soundTexture", 4, textures[3]);
    return textures;
  });
}

std::vector<float> drawEnd(const cm::EndInputs& in) {
  const GLuint program = buildEmbedded(amigaBordersEndFile);
  return drawComposite(program, in.picture.width, in.picture.height, [&] {
    setFloat(program, "time", in.time);
    setFloat(program, "partTime", in.partTime);
    std::vector<GLuint> textures = {uploadImage(in.picture), uploadImage(in.logo)};
    bindSampler(program, "renderTexture", 1, textures[0]);
    bindSampler(program, "endlogo", 2, textures[1]);
    return textures;
  });
}

cm::Rgb rgbAt(const std::vector<float>& pixels, int width, int x, int y) {
  const size_t at = (static_cast<size_t>(y) * width + x) * 4;
  return {pixels[at], pixels[at + 1], pixels[at + 2]};
}

float maxDifference(cm::Rgb a, cm::Rgb b) {
  return std::max({std::fabs(a.r - b.r), std::fabs(a.g - b.g), std::fabs(a.b - b.b)});
}

// Compares every pixel with `expected`; reports the first few mismatches. Pixels the model marks
// fragile are skipped, but there may be only a few of them.
template <typename Model>
void expectMatches(const std::vector<float>& pixels, int width, int height, Model expected, const char* what) {
  int mismatches = 0, fragile = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const cm::Expected want = expected(x, y);
      if (want.fragile) {
        ++fragile;
        continue;
      }
      const cm::Rgb got = rgbAt(pixels, width, x, y);
      if (maxDifference(got, want.colour) > 2e-3f && ++mismatches <= 5)
        ADD_FAILURE() << what << " pixel (" << x << ", " << y << "): got " << got.r << " " << got.g << " "
                      << got.b << ", want " << want.colour.r << " " << want.colour.g << " " << want.colour.b;
    }
  EXPECT_EQ(mismatches, 0) << what;
  EXPECT_LT(fragile, width * height / 20) << what << ": too many pixels on a threshold to judge";
}

cm::BorderInputs busyInputs(int width, int height) {
  cm::BorderInputs in;
  in.time = 7.3f;
  in.partTime = 12.0f;
  in.picture = noiseImage(width, height, 1, 0.0f, 1.0f);
  in.overlay = noiseImage(width, height, 2, 0.0f, 0.6f);
  in.text = noiseImage(width, height, 3, 0.0f, 1.0f);
  in.textAlpha = 0.7f;
  in.blackFac = 0.3f;
  in.toBlack = 0.25f;
  in.toWhite = 0.15f;
  for (size_t i = 0; i < in.spectrum.size(); ++i) in.spectrum[i] = 0.02f + 0.01f * static_cast<float>(i % 7);
  return in;
}

const std::vector<const char*> compositeFiles = {amigaBorderIntroFile, amigaBordersPartFile, amigaBordersFile,
                                                 amigaBordersOuttroFile, amigaBordersEndFile, logoOverlayFile};

struct VariantFile {
  cm::Variant variant;
  const char* path;
};
const std::vector<VariantFile> framedVariants = {{cm::Variant::Intro, amigaBorderIntroFile},
                                                 {cm::Variant::Part, amigaBordersPartFile},
                                                 {cm::Variant::SpectrumBars, amigaBordersFile}};

}  // namespace

class CompositeBuildTest : public GlTest {};

TEST_F(CompositeBuildTest, EveryFileBuildsFromItsEmbeddedCopyAndFromDiskWithoutReport) {
  for (const char* path : compositeFiles) {
    const std::string* text = findEmbeddedShader(path);
    ASSERT_NE(text, nullptr) << path << " is not embedded";
    GLuint fromText = 0, fromFile = 0;
    EXPECT_EQ(captureStdout([&] { fromText = ShaderProgram(false, screenQuadVertexSource(), *text, "").programId; }), "")
        << path;
    EXPECT_EQ(captureStdout([&] { fromFile = ShaderProgram(true, screenQuadVertexPath, path, "").programId; }), "")
        << path << " as hot reload builds it";
    for (GLuint program : {fromText, fromFile}) {
      GLint linked = 0;
      glGetProgramiv(program, GL_LINK_STATUS, &linked);
      EXPECT_EQ(linked, GL_TRUE) << path;
    }
  }
}

class BorderCompositeTest : public GlTest {};

TEST_F(BorderCompositeTest, LetterboxRowsAreBlackAndTheBorderLinesGreyAtTheirInnerEdges) {
  // 40 rows: bars of 4 px. Bottom line on rows 4 and 5 (centres in [4, 5.5]); the top bar starts
  // above y = 36, so row 36 is bar and line, row 37 line, rows 38 and 39 bar.
  const int width = 32, height = 40;
  cm::BorderInputs in;
  in.time = 1.7f;
  in.picture = flatImage(width, height, 0.3f, 0.4f, 0.5f, 1.0f);
  in.overlay = flatImage(width, height, 0.0f, 0.0f, 0.0f, 1.0f);
  in.text = flatImage(width, height, 0.0f, 0.0f, 0.0f, 0.0f);
  for (const VariantFile& variant : framedVariants) {
    const std::vector<float> pixels = drawBorder(variant.path, in);
    for (int y = 0; y < height; ++y) {
      const bool line = y == 4 || y == 5 || y == 36 || y == 37;
      const bool bar = y < 4 || y > 37;
      for (int x = 0; x < width; ++x) {
        const float grey = 0.8f + std::sin((x + 0.5f) / width * cm::pi + in.time) * 0.125f;
        const cm::Rgb want = line ? cm::grey(grey) : bar ? cm::grey(0.0f) : in.picture.rgb(x, y);
        ASSERT_LT(maxDifference(rgbAt(pixels, width, x, y), want), 2e-3f) << variant.path << " at (" << x << ", " << y
                                                                         << ")";
      }
    }
  }
}

TEST_F(BorderCompositeTest, SpectrumBarsLightOnlyWhileVumetersIsOn) {
  const int width = 160, height = 333;
  cm::BorderInputs in = busyInputs(width, height);
  in.vumeters = false;
  const std::vector<float> off = drawBorder(amigaBordersFile, in);
  expectMatches(off, width, height, [&](int x, int y) { return cm::borderPixel(in, cm::Variant::Part, x, y); },
                "spectrum composite with vumeters off");
  in.vumeters = true;
  const std::vector<float> on = drawBorder(amigaBordersFile, in);
  int raised = 0;
  for (size_t i = 0; i < on.size(); i += 4) raised += on[i] > off[i] + 0.1f;
  EXPECT_GT(raised, width * height / 20) << "the bars light a good part of the frame";
}

TEST_F(BorderCompositeTest, FadesComeBeforeCaptionsAndSpectrumBars) {
  const int width = 160, height = 333;
  cm::BorderInputs in = busyInputs(width, height);
  in.blackFac = 0.0f;
  in.toBlack = 1.0f;
  in.toWhite = 0.0f;
  in.vumeters = true;
  in.textAlpha = 1.0f;
  // Captions: the left half carries an opaque caption colour, the right half none.
  in.text = flatImage(width, height, 0.2f, 0.9f, 0.6f, 1.0f);
  for (int y = 0; y < height; ++y)
    for (int x = width / 2; x < width; ++x) in.text.rgba[(static_cast<size_t>(y) * width + x) * 4 + 3] = 0.0f;
  const std::vector<float> intro = drawBorder(amigaBorderIntroFile, in);
  const std::vector<float> bars = drawBorder(amigaBordersFile, in);
  const std::vector<float> part = drawBorder(amigaBordersPartFile, in);
  int lit = 0;
  for (int y = 50; y < 280; ++y)  // inside the picture, away from bars and lines
    for (int x = 0; x < width; ++x) {
      const cm::Rgb caption = x < width / 2 ? cm::Rgb{0.2f, 0.9f, 0.6f} : cm::grey(0.0f);
      ASSERT_LT(maxDifference(rgbAt(intro, width, x, y), caption), 2e-3f) << "intro at " << x << ", " << y;
      ASSERT_LT(maxDifference(rgbAt(part, width, x, y), cm::grey(0.0f)), 2e-3f) << "part at " << x << ", " << y;
      const float bar = rgbAt(bars, width, x, y).r;
      ASSERT_TRUE(std::fabs(bar) < 2e-3f || std::fabs(bar - 0.3f) < 2e-3f) << "bars at " << x << ", " << y;
      lit += bar > 0.15f;
    }
  EXPECT_GT(lit, 1000) << "lit bars show through a complete fade to black";
}

class OutroCompositeTest : public GlTest {};

TEST_F(OutroCompositeTest, EndsAsAGreyBandAcrossTheMiddleBetween22And78Percent) {
  const int width = 100, height = 40;
  cm::BorderInputs in = busyInputs(width, height);
  in.toBlack = in.toWhite = in.blackFac = 0.0f;
  // The bars meet at 29.5 + 0.4 * 40 / 76 s; the side bars stop at 22 % from 33.88 s on.
  struct Case {
    float partTime;
    float xs, xe;
  };
  for (const Case& c : {Case{29.72f, 0.0f, 1.0f}, Case{34.0f, 0.22f, 0.78f}, Case{40.0f, 0.22f, 0.78f}}) {
    in.partTime = c.partTime;
    const std::vector<float> pixels = drawBorder(amigaBordersOuttroFile, in);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const float u = (x + 0.5f) / width;
        const bool band = (y == 20 || y == 21) && c.xs <= u && u <= c.xe;
        const cm::Rgb want = band ? cm::borderGrey(u, in.time) : cm::grey(0.0f);
        ASSERT_LT(maxDifference(rgbAt(pixels, width, x, y), want), 2e-3f)
            << "part time " << c.partTime << " at (" << x << ", " << y << ")";
      }
  }
}

class EndCompositeTest : public GlTest {};

namespace {

cm::EndInputs endInputs(int width, int height, float partTime) {
  cm::EndInputs in;
  in.time = 254.0f;
  in.partTime = partTime;
  in.picture = noiseImage(width, height, 7, 0.2f, 1.0f);
  in.logo = noiseImage(37, 23, 8, 0.1f, 1.0f);
  return in;
}

// Rows of the target that a strip of the closing logo covers (its pixels differ from black).
int logoRows(const std::vector<float>& pixels, int width, int height) {
  int rows = 0;
  for (int y = 0; y < height; ++y) rows += rgbAt(pixels, width, width / 10, y).r > 0.05f;
  return rows;
}

}  // namespace

TEST_F(EndCompositeTest, StartsWithOnlyTheCentreLineAndOpensBothStripsAcrossTheFullWidth) {
  const int width = 100, height = 400;
  const std::vector<float> start = drawEnd(endInputs(width, height, 0.0f));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float u = (x + 0.5f) / width;
      const bool line = (y == 200 || y == 201) && 0.22f <= u && u <= 0.78f;
      const cm::Rgb want = line ? cm::grey(0.8f + 0.125f * std::sin(u * cm::pi + 254.0f)) : cm::grey(0.0f);
      ASSERT_LT(maxDifference(rgbAt(start, width, x, y), want), 2e-3f) << "at (" << x << ", " << y << ")";
    }
  // Column 10 lies outside the centre line's box; only the logo strips reach it. Fully open,
  // the strips are 0.0325 * 1.099 and 0.0325 * 1.5 of the height: about 14 and 19 rows.
  const int open = logoRows(drawEnd(endInputs(width, height, 2.0f)), width, height);
  EXPECT_GE(open, 32);
  EXPECT_LE(open, 35);
  EXPECT_LT(logoRows(drawEnd(endInputs(width, height, 0.5f)), width, height), open);
}

TEST_F(EndCompositeTest, FadesToHalfAtFiveAndAHalfSecondsAndToBlackFromSix) {
  const int width = 100, height = 400;
  const std::vector<float> full = drawEnd(endInputs(width, height, 4.0f));
  const std::vector<float> half = drawEnd(endInputs(width, height, 5.5f));
  float brightest = 0.0f;
  for (size_t i = 0; i < full.size(); i += 4) {
    ASSERT_NEAR(half[i], 0.5f * full[i], 2e-3f) << "pixel " << i / 4;
    brightest = std::max(brightest, full[i]);
  }
  EXPECT_GT(brightest, 0.5f) << "the unfaded frame shows the logo and the line";
  for (float partTime : {6.0f, 6.7f}) {
    const std::vector<float> black = drawEnd(endInputs(width, height, partTime));
    for (size_t i = 0; i < black.size(); i += 4)
      ASSERT_EQ(black[i] + black[i + 1] + black[i + 2], 0.0f) << "part time " << partTime << ", pixel " << i / 4;
  }
}

TEST_F(EndCompositeTest, AnOddHeightDrawsTheLineOnTheTwoRowsFromTheCentre) {
  const int width = 50, height = 41;  // h = 20.5: rows 20 and 21 have centres in [20.5, 22]
  const cm::EndInputs in = endInputs(width, height, 0.0f);
  const std::vector<float> pixels = drawEnd(in);
  for (int y = 0; y < height; ++y) {
    const float value = rgbAt(pixels, width, width / 2, y).r;
    if (y == 20 || y == 21)
      EXPECT_GT(value, 0.6f) << "row " << y;
    else
      EXPECT_EQ(value, 0.0f) << "row " << y;
  }
}
