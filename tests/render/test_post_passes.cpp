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


namespace {

CpuImage flatImage(int w, int h, float grey) {
  return makeImage(w, h, [&](int, int) { return Rgba{grey, grey, grey, 1.0f}; });
}

// The CRT pass over `in` at song time t with crt_mix 0 (a crt pulse of 2) and threshold 1.4.
std::vector<float> crtOnly(const GLuint input, int w, int h, float t) {
  sharedUniforms.songPosition = t;
  sharedUniforms.crt_threshold = 1.4f;
  fades.crtPulse.value = 2.0f;
  return runPass(crtPassPath, input, w, h);
}

}  // namespace

TEST_F(PostPassTest, CrtAtZeroMixShowsScanLinesAndVignetteAndTheGrainOnlyDarkens) {
  const int w = 16, h = 24;
  const float threshold = 1.4f;
  // At time 0 the grain hash is fract(sin(0)) = 0: the noise-free picture.
  const CpuImage black = imageFrom(w, h, crtOnly(texture(flatImage(w, h, 0.0f)), w, h, 0.0f));
  const CpuImage grey = imageFrom(w, h, crtOnly(texture(flatImage(w, h, 0.5f)), w, h, 0.0f));
  for (int y = 0; y < h; ++y) {
    const float v = (y + 0.5f) / h;
    // The scan line factor of a row, 0.9 + 0.1 sin(2 v height), scales the picture alone.
    const float scan = 0.9f + 0.1f * std::sin(2.0f * v * h);
    for (int x = 0; x < w; ++x) {
      const float u = (x + 0.5f) / w;
      const float vignette = 1.0f - (u * (1.0f - u) + v * (1.0f - v)) * 2.4f;
      EXPECT_NEAR(black.texel(x, y)[0], -vignette * threshold, 2e-5f) << x << ", " << y << ": not clamped";
      EXPECT_NEAR(grey.texel(x, y)[1] - black.texel(x, y)[1], 0.5f * scan * threshold, 2e-5f) << x << ", " << y;
    }
  }
  // The centre of a black picture turns grey (the vignette term is negative there), the
  // corners far below black.
  EXPECT_NEAR(black.texel(w / 2, h / 2)[2], 0.2f * threshold, 0.01f);
  EXPECT_LT(black.texel(0, 0)[2], -1.0f);

  // Later the grain subtracts up to 0.04 before the scan lines, varying from pixel to pixel.
  const CpuImage grainy = imageFrom(w, h, crtOnly(texture(flatImage(w, h, 0.5f)), w, h, 7.31f));
  float lowest = 0.0f, mean = 0.0f;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float drop = grainy.texel(x, y)[0] - grey.texel(x, y)[0];
      EXPECT_LE(drop, 1e-5f);
      EXPECT_GE(drop, -0.04f * threshold - 1e-5f);
      lowest = std::min(lowest, drop);
      mean += drop / (w * h);
    }
  EXPECT_LT(lowest, -0.02f * threshold);
  EXPECT_NEAR(mean, -0.02f * 0.9f * threshold, 0.006f) << "grain spread evenly over [0, 0.04)";

  // Half a pulse mixes halfway back to the clean picture.
  fades.crtPulse.value = 1.0f;
  sharedUniforms.songPosition = 0.0f;
  const CpuImage half = imageFrom(w, h, runPass(crtPassPath, texture(flatImage(w, h, 0.5f)), w, h));
  EXPECT_NEAR(half.texel(3, 5)[0], 0.5f * (grey.texel(3, 5)[0] + 0.5f), 2e-5f);
}

namespace {

constexpr float boxGround = 0.2f;

// The spectrum box over a flat grey picture at song time 1.65 with the given 512 bins. At that
// time the sway runs through nearly its whole range across the box.
CpuImage spectrumBoxOver(GLuint input, int n, const GLuint sound) {
  sharedUniforms.songPosition = 1.65f;
  return imageFrom(n, n, runPass(vumetersPassPath, input, n, n, [&](GLuint p) { setSampler(p, "soundTexture", sound); }));
}

// Where pixel (x, y) of an n x n target lies in the box: xo across 0..1, and the distance of
// its row from the box's middle row in box heights; false outside the box.
bool boxPlace(int x, int y, int n, float& xo, float& row) {
  const float u = (x + 0.5f) / n, v = (y + 0.5f) / n;
  xo = (u - 0.613f) / 0.282f;
  row = std::fabs((v - 0.201f) / 0.171f - 0.5f);
  return u > 0.613f && u < 0.895f && v > 0.201f && v < 0.372f;
}

}  // namespace

TEST_F(PostPassTest, SpectrumBoxSpansBins0To255AcrossItsWidth) {
  const int n = 128;
  // Silent in bins 0 to 127, loud from 128 on: only the right half of the box plays.
  std::vector<float> bins(512, 0.0f);
  for (int i = 128; i < 512; ++i) bins[i] = 0.02f;
  const CpuImage got = spectrumBoxOver(texture(flatImage(n, n, boxGround)), n, soundTexture(bins));
  int leftHalf = 0, rightLit = 0;
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      float xo = 0.0f, row = 0.0f;
      const bool inside = boxPlace(x, y, n, xo, row);
      const float value = got.texel(x, y)[0];
      if (!inside || xo < 0.49f) {
        EXPECT_EQ(value, boxGround) << x << ", " << y;
        leftHalf += inside;
      } else if (xo > 0.51f && row < 0.05f) {
        EXPECT_GT(value, boxGround + 0.2f) << x << ", " << y << " lies on the bars' middle row";
        ++rightLit;
      }
    }
  EXPECT_GT(leftHalf, 100);
  EXPECT_GT(rightLit, 10);
}

TEST_F(PostPassTest, SpectrumBoxBarsGrowWithTheSpectrumAndTowardTheRightAndSwayWithin1To2Point2) {
  // A lit pixel shows mix(c, white, (2h + 0.45) 0.75), so its colour gives back the bar's half
  // height h. That h is the bin's value x 1.8, times 1 + 8 xo (growing to the right), times a
  // sway 1 + k with k between 0 and 1.2, and doubles with the spectrum.
  const int n = 256;
  const GLuint input = texture(flatImage(n, n, boxGround));
  const float level = 0.01f, amp = level * 1.8f;
  const CpuImage single = spectrumBoxOver(input, n, soundTexture(std::vector<float>(512, level)));
  const CpuImage twice = spectrumBoxOver(input, n, soundTexture(std::vector<float>(512, 2.0f * level)));
  auto halfHeight = [](float value) { return ((value - boxGround) / ((1.0f - boxGround) * 0.75f) - 0.45f) / 2.0f; };
  float lowestSway = 10.0f, highestSway = 0.0f;
  int measured = 0, doubled = 0;
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      float xo = 0.0f, row = 0.0f;
      if (!boxPlace(x, y, n, xo, row)) continue;
      const float growth = amp * (1.0f + 8.0f * xo);
      const float a = single.texel(x, y)[0], b = twice.texel(x, y)[0];
      if (row >= growth || a > 0.995f) continue;  // not surely lit, or clamped
      ++measured;
      const float h = halfHeight(a);
      if (b < 0.995f) {
        ++doubled;
        EXPECT_NEAR(halfHeight(b), 2.0f * h, 2e-4f) << x << ", " << y;
      }
      const float sway = h / growth;
      EXPECT_GE(sway, 1.0f - 1e-3f) << x << ", " << y;
      EXPECT_LE(sway, 2.2f + 1e-3f) << x << ", " << y;
      lowestSway = std::min(lowestSway, sway);
      highestSway = std::max(highestSway, sway);
    }
  EXPECT_GT(measured, 200);
  EXPECT_GT(doubled, 100);
  EXPECT_LT(lowestSway, 1.15f) << "the sway should come near its low end somewhere in the box";
  EXPECT_GT(highestSway, 2.05f) << "and near its high end elsewhere";
}
