// Post-processing passes, part one: every pass builds silently from its embedded text and its
// file; the copy-like passes (copy, bloom, glitch bands, RGB split, pixelate), the CRT and the
// spectrum box against their arithmetic computed on the CPU.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "render/embedded_shaders.h"
#include "render/post_pass_files.h"
#include "render/render_targets.h"
#include "render/screen_quad.h"
#include "render/shader_program.h"
#include "render/shared_uniforms.h"
#include "tests/support/pass_runner.h"
#include "timeline/fades.h"

namespace {

// Values deliberately outside [0, 1] so that the clamps show.
CpuImage wideRangeImage(int w, int h, int seed) {
  return makeImage(w, h, [&](int x, int y) {
    return Rgba{patternValue(x, y, 0, seed) * 2.0f - 0.5f, patternValue(x, y, 1, seed) * 2.0f - 0.5f,
                patternValue(x, y, 2, seed) * 2.0f - 0.5f, patternValue(x, y, 3, seed)};
  });
}

CpuImage unitImage(int w, int h, int seed) {
  return makeImage(w, h, [&](int x, int y) {
    return Rgba{patternValue(x, y, 0, seed), patternValue(x, y, 1, seed), patternValue(x, y, 2, seed),
                patternValue(x, y, 3, seed)};
  });
}

CpuImage clampedCopy(const CpuImage& in) {
  return makeImage(in.width, in.height, [&](int x, int y) {
    const Rgba p = in.texel(x, y);
    return Rgba{clamp01(p[0]), clamp01(p[1]), clamp01(p[2]), 1.0f};
  });
}

void expectExactly(const std::vector<float>& actual, const CpuImage& expected) {
  expectImageNear(actual, expected, 0.0f);
}

bool linked(GLuint program) {
  GLint status = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &status);
  return status == GL_TRUE;
}

}  // namespace

class PostPassTest : public PassTest {};

TEST_F(PostPassTest, EveryPassBuildsSilentlyFromItsEmbeddedTextAndFromItsFile) {
  std::set<std::string> paths;
  for (const PostPassFile& pass : postPassFiles) {
    SCOPED_TRACE(pass.path);
    EXPECT_TRUE(paths.insert(pass.path).second) << "two passes share a file";
    const std::string* text = findEmbeddedShader(pass.path);
    ASSERT_NE(text, nullptr);
    GLuint embedded = 0;
    EXPECT_EQ(captureStdout([&] { embedded = ShaderProgram(false, screenQuadVertexSource(), *text, "").programId; }),
              "");
    EXPECT_TRUE(linked(embedded));
    // Hot reload: both stages from the files under ./shaders/ (tests run in the source root).
    GLuint fromFile = 0;
    EXPECT_EQ(captureStdout([&] { fromFile = ShaderProgram(true, screenQuadVertexPath, pass.path, "").programId; }), "");
    EXPECT_TRUE(linked(fromFile));
    glDeleteProgram(embedded);
    glDeleteProgram(fromFile);
  }
}

TEST_F(PostPassTest, CopyBloomOffAndGlitchAtRestAreExactClampedCopies) {
  const CpuImage in = wideRangeImage(8, 8, 1);
  const GLuint input = texture(in);
  const CpuImage expected = clampedCopy(in);
  expectExactly(runPass(copyPassPath, input, 8, 8), expected);

  sharedUniforms.apply_bloom = false;
  sharedUniforms.bloom_threshold1 = 0.47f;
  sharedUniforms.bloom_threshold2 = 0.2f;
  expectExactly(runPass(bloomPassPath, input, 8, 8), expected);

  fades.lerp3.value = 0.0f;
  sharedUniforms.songPosition = 17.3f;
  expectExactly(runPass(glitchPassPath, input, 8, 8), expected);
}

TEST_F(PostPassTest, BloomAddsTheGammaDarkenedMixToTheImage) {
  const CpuImage in = wideRangeImage(8, 8, 2);
  sharedUniforms.apply_bloom = true;
  sharedUniforms.bloom_threshold1 = 0.47f;
  sharedUniforms.bloom_threshold2 = 0.2f;
  const CpuImage expected = makeImage(8, 8, [&](int x, int y) {
    Rgba out{0, 0, 0, 1};
    for (int c = 0; c < 3; ++c) {
      const float o = in.texel(x, y)[c];
      const float s = std::pow(std::max(o, 0.0f), 2.2f);
      out[c] = clamp01(mixf(s, o, 0.2f) * 0.47f + o);
    }
    return out;
  });
  expectImageNear(runPass(bloomPassPath, texture(in), 8, 8), expected, 2e-5f);
}

namespace {

// Per row of a glitch read-back whose red channel encodes the source column: the cyclic
// shift of the row, checked to be the same for every pixel of it (up to rounding at a texel
// edge), or -1 when the row is not a rotation of the input.
std::vector<int> rowShifts(const CpuImage& got) {
  const int w = got.width;
  std::vector<int> shifts;
  for (int y = 0; y < got.height; ++y) {
    auto source = [&](int x) { return static_cast<int>(std::lround(got.texel(x, y)[0] * w - 0.5f)); };
    const int shift = ((source(0)) % w + w) % w;
    bool rotation = true;
    for (int x = 0; x < w; ++x) {
      const int distance = std::abs(((source(x) - (x + shift)) % w + w + w / 2) % w - w / 2);
      rotation = rotation && distance <= 1;
    }
    shifts.push_back(rotation ? shift : -1);
  }
  return shifts;
}

}  // namespace

TEST_F(PostPassTest, GlitchRotatesEachBandByItsOwnAmountScaledByLerp3) {
  const int w = 64, h = 64;
  // Red encodes the source column, so the read-back says where each pixel came from.
  const CpuImage in = makeImage(w, h, [&](int x, int) { return Rgba{(x + 0.5f) / w, 0.5f, 0.5f, 1.0f}; });
  const GLuint input = texture(in);
  sharedUniforms.songPosition = 3.7f;
  auto shiftsAt = [&](float lerp3) {
    fades.lerp3.value = lerp3;
    return rowShifts(imageFrom(w, h, runPass(glitchPassPath, input, w, h)));
  };
  const std::vector<int> small = shiftsAt(5.0f), large = shiftsAt(10.0f);
  std::set<int> distinct;
  int bandChanges = 0;
  for (int y = 0; y < h; ++y) {
    SCOPED_TRACE("row " + std::to_string(y));
    ASSERT_GE(large[y], 0) << "each row wraps around as a whole";
    ASSERT_GE(small[y], 0);
    // The offset is hash x lerp3 x 0.025 with the hash in [0, 1): at most 1/8 and 1/4 of the width.
    EXPECT_LE(small[y], w / 8 + 1);
    EXPECT_LE(large[y], w / 4 + 1);
    EXPECT_LE(std::abs(large[y] - 2 * small[y]), 2) << "the shift grows linearly with lerp3";
    if (y % 2 == 1) {
      EXPECT_EQ(large[y], large[y - 1]) << "two rows of one band shift alike";
    }
    if (y % 2 == 0 && y > 0 && large[y] != large[y - 1]) ++bandChanges;
    distinct.insert(large[y]);
  }
  EXPECT_GT(distinct.size(), 6u) << "the bands move independently";
  // Bands are 2 rows here (32 over 64 rows): most of the 31 band boundaries show a new shift.
  EXPECT_GT(bandChanges, 20) << "fewer or wider bands than 32";
}

TEST_F(PostPassTest, RgbSplitMovesRedAndGreenWithTheirOffsetsAndBlueAgainstIt) {
  const int w = 16, h = 4;
  const CpuImage in = makeImage(w, h, [&](int x, int) {
    return Rgba{(x + 1) / 32.0f, (x + 1) / 64.0f, (x + 1) / 128.0f, 1.0f};
  });
  const CpuImage got = imageFrom(w, h, runPass(rgbSplitPassPath, texture(in), w, h, [](GLuint p) {
                                   setUniform(p, "roffset", 2.0f / 16.0f);
                                   setUniform(p, "goffset", -3.0f / 16.0f);
                                   setUniform(p, "boffset", 1.0f / 16.0f);
                                 }));
  auto column = [](int x) { return std::clamp(x, 0, 15); };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const Rgba p = got.texel(x, y);
      EXPECT_EQ(p[0], in.texel(column(x - 2), y)[0]) << x;
      EXPECT_EQ(p[1], in.texel(column(x + 3), y)[1]) << x;
      EXPECT_EQ(p[2], in.texel(column(x + 1), y)[2]) << x;
      EXPECT_EQ(p[3], 1.0f);
    }
  }
}

TEST_F(PostPassTest, PixelateShowsEachCellsLowerLeftTexelWithCellsIn512ths) {
  const CpuImage in = wideRangeImage(16, 16, 3);
  const GLuint input = texture(in);
  auto cells = [&](int cell) {
    return makeImage(16, 16, [&](int x, int y) {
      const Rgba p = in.texel(x / cell * cell, y / cell * cell);
      return Rgba{clamp01(p[0]), clamp01(p[1]), clamp01(p[2]), 1.0f};
    });
  };
  auto run = [&](float pixelValue) {
    return runPass(pixelatePassPath, input, 16, 16, [&](GLuint p) { setUniform(p, "pixelValue", pixelValue); });
  };
  // 128 / 512 of the screen is 4 of these 16 pixels: the divisor is fixed, not the render size.
  expectExactly(run(128.0f), cells(4));
  expectExactly(run(96.0f), cells(3));
  expectExactly(run(512.0f), cells(16));
  // A cell of size zero or less is defined as no pixelation.
  expectExactly(run(0.0f), clampedCopy(in));
  expectExactly(run(-64.0f), clampedCopy(in));
}

TEST_F(PostPassTest, CrtAtFullMixShowsTheCleanImage) {
  const CpuImage in = unitImage(16, 16, 4);
  sharedUniforms.songPosition = 5.3f;
  sharedUniforms.crt_threshold = 1.4f;
  fades.crtPulse.value = 0.0f;  // crt_mix = 1
  const CpuImage expected = makeImage(16, 16, [&](int x, int y) {
    const Rgba p = in.texel(x, y);
    return Rgba{p[0], p[1], p[2], 1.0f};
  });
  expectImageNear(runPass(crtPassPath, texture(in), 16, 16), expected, 2e-6f);
}

namespace {

}  // namespace

namespace {

const char* uvProbe =
    "#version 330 core\n#include \"./shaders/lib/screen_pass_header.glsl\"\n"
    "#include \"./shaders/lib/screen_pass.glsl\"\n"
    "void main() { fragColor = vec4(passUv(), 0.0, 1.0); }\n";

// The texture coordinates the passes compute on this driver for a 16 x 16 target and the given
// `resolution` uniform.
CpuImage probeUv(float rx, float ry) {
  const GLuint program = buildTestProgram(uvProbe);
  const TestTarget target = makeTestTarget(16, 16, GL_RGBA32F);
  glUseProgram(program);
  setUniform(program, "resolution", rx, ry);
  drawOverTarget(program, target);
  CpuImage uv = imageFrom(16, 16, readTargetFloats(target));
  glDeleteFramebuffers(1, &target.framebuffer);
  glDeleteTextures(1, &target.texture);
  glDeleteProgram(program);
  return uv;
}

struct EdgeCase {
  float edge;
  bool alongX;
  int inward;       // +1 or -1: the neighbour on this side lies inside the rectangle
  float low, high;  // the rectangle's extent on this axis
  int across;       // a row (for x edges) or column (for y edges) inside the rectangle
};

// A `resolution` component under which the centre of some pixel (its index goes to `pixel`)
// lands exactly on the edge while its inward neighbour lies inside the rectangle, searched
// among the floats near the ideal value and confirmed by the probe; 0 if none does.
float resolutionPlacing(const EdgeCase& e, int& pixel) {
  const int axis = e.alongX ? 0 : 1;
  for (pixel = 14; pixel >= 1; --pixel) {
    float candidate = (pixel + 0.5f) / e.edge;
    for (int i = 0; i < 8; ++i) candidate = std::nextafter(candidate, 0.0f);
    for (int i = 0; i < 16; ++i, candidate = std::nextafter(candidate, 1e9f)) {
      if ((pixel + 0.5f) / candidate != e.edge && (pixel + 0.5f) * (1.0f / candidate) != e.edge) continue;
      const CpuImage uv = probeUv(e.alongX ? candidate : 16.0f, e.alongX ? 16.0f : candidate);
      auto at = [&](int p) { return e.alongX ? uv.texel(p, 0)[axis] : uv.texel(0, p)[axis]; };
      const float neighbour = at(pixel + e.inward);
      if (at(pixel) == e.edge && neighbour > e.low && neighbour < e.high) return candidate;
    }
  }
  return 0.0f;
}

}  // namespace

TEST_F(PostPassTest, SpectrumBoxLeavesPixelsExactlyOnItsEdgesUnchanged) {
  // Every bin loud: inside the rectangle every pixel turns white.
  const GLuint sound = soundTexture(std::vector<float>(512, 1.0f));
  const GLuint black = texture(makeImage(16, 16, [](int, int) { return Rgba{0, 0, 0, 1}; }));
  const EdgeCase cases[] = {
      {0.613f, true, 1, 0.613f, 0.895f, 4},
      {0.895f, true, -1, 0.613f, 0.895f, 4},
      {0.201f, false, 1, 0.201f, 0.372f, 12},
      {0.372f, false, -1, 0.201f, 0.372f, 12},
  };
  for (const EdgeCase& e : cases) {
    SCOPED_TRACE("edge " + std::to_string(e.edge));
    int pixel = 0;
    const float r = resolutionPlacing(e, pixel);
    ASSERT_GT(r, 0.0f) << "no resolution puts a pixel centre exactly on the edge";
    const float rx = e.alongX ? r : 16.0f, ry = e.alongX ? 16.0f : r;
    const CpuImage got = imageFrom(16, 16, runPass(vumetersPassPath, black, 16, 16, [&](GLuint p) {
                                     setUniform(p, "resolution", rx, ry);
                                     setSampler(p, "soundTexture", sound);
                                   }));
    const int onX = e.alongX ? pixel : e.across, onY = e.alongX ? e.across : pixel;
    const int inX = e.alongX ? pixel + e.inward : e.across, inY = e.alongX ? e.across : pixel + e.inward;
    EXPECT_EQ(got.texel(onX, onY)[0], 0.0f) << "the edge pixel changed";
    EXPECT_EQ(got.texel(inX, inY)[0], 1.0f) << "the pixel beside it, inside, should be white";
  }
}

namespace {

}  // namespace

