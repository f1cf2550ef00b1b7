// Post-processing passes on tiny float targets: the passes that must copy when at rest, and for
// every pass a property that its constants decide (how far a blur reaches, what stays flat,
// where light may fall, which way a channel moves).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/fade_records.h"
#include "render/letterbox_rows.h"
#include "render/post_chain.h"
#include "render/post_pass_files.h"
#include "render/render_targets.h"
#include "render/shared_uniforms.h"
#include "scenes/bokeh_spiral.h"
#include "render/channel_quads.h"
#include "render/embedded_shaders.h"
#include "render/screen_quad.h"
#include "render/shader_program.h"
#include "scenes/ambient_intro_scene.h"
#include "scenes/scene_shader_files.h"
#include "tests/support/pass_runner.h"

namespace {

CpuImage flat(int w, int h, Rgba colour) {
  return makeImage(w, h, [&](int, int) { return colour; });
}

// Values from -0.5 to 1.5 so that the clamps show; alpha as given.
CpuImage pattern(int w, int h, int seed, float alpha) {
  return makeImage(w, h, [&](int x, int y) {
    return Rgba{patternValue(x, y, 0, seed) * 2 - 0.5f, patternValue(x, y, 1, seed) * 2 - 0.5f,
                patternValue(x, y, 2, seed) * 2 - 0.5f, alpha};
  });
}

CpuImage clampedCopy(const CpuImage& in) {
  return makeImage(in.width, in.height, [&](int x, int y) {
    const Rgba p = in.texel(x, y);
    return Rgba{clamp01(p[0]), clamp01(p[1]), clamp01(p[2]), 1.0f};
  });
}

}  // namespace

class PostPass : public PassTest {
 protected:
  CpuImage run(const char* path, const CpuImage& in, const PassUniforms& extra = {}, GLenum filter = GL_NEAREST,
               GLenum format = GL_RGBA32F) {
    return imageFrom(in.width, in.height, runPass(path, texture(in, filter), in.width, in.height, extra, format));
  }
  static PassUniforms with(const char* name, float value) {
    return [=](GLuint p) { setUniform(p, name, value); };
  }
  // The light shafts' first half over `in`: its alpha as quad words, bound where the shafts read them.
  PassUniforms withMaskQuads(const CpuImage& in) {
    static const ShaderProgram quadsPass(false, screenQuadVertexSource(), *findEmbeddedShader(channelQuadsPassPath), "");
    static const ScreenQuad quad = createScreenQuad();
    ChannelQuads& words = maskQuads_.emplace_back();
    const GLuint quads = updateChannelQuads(words, quadsPass, quad, texture(in), 3, false);
    return [=](GLuint p) { setSampler(p, "alphaQuads", quads); };
  }
  void TearDown() override {
    for (ChannelQuads& words : maskQuads_) deleteChannelQuads(words);
    PassTest::TearDown();
  }

 private:
  std::vector<ChannelQuads> maskQuads_;
};

TEST_F(PostPass, AtRestTheCopyingPassesAreExactClampedCopies) {
  const CpuImage in = pattern(8, 8, 1, 1.0f);
  sharedUniforms.songPosition = 17.3f;  // glitch with lerp3 = 0 and bloom switched off
  sharedUniforms.bloom_threshold1 = 0.47f;
  for (const char* path : {copyPassPath, bloomPassPath, glitchPassPath}) {
    SCOPED_TRACE(path);
    expectImageNear(run(path, in).rgba, clampedCopy(in), 0.0f);
  }
  expectImageNear(run(pixelatePassPath, in, with("pixelValue", 0.0f)).rgba, clampedCopy(in), 0.0f);
  // The spiral depth of field with a blur amount of 0 gives back the unblurred colour.
  const CpuImage still = makeImage(8, 8, [](int x, int y) { return Rgba{x / 8.0f, y / 8.0f, 0.3f, 0.0f}; });
  expectImageNear(run(qdofPassPath, still, {}, GL_LINEAR).rgba,
                  makeImage(8, 8, [&](int x, int y) { return Rgba{x / 8.0f, y / 8.0f, 0.3f, 1.0f}; }), 2e-6f);
}

TEST_F(PostPass, BloomAddsAGammaDarkenedCopyThatLiftsHighlightsMoreThanShadows) {
  sharedUniforms.apply_bloom = true;
  sharedUniforms.bloom_threshold1 = 0.47f;
  sharedUniforms.bloom_threshold2 = 0.2f;
  for (float o : {0.1f, 0.3f, 0.6f})
    EXPECT_NEAR(run(bloomPassPath, flat(4, 4, {o, o, o, 1})).texel(1, 1)[0], mixf(std::pow(o, 2.2f), o, 0.2f) * 0.47f + o, 2e-5f);
  EXPECT_EQ(run(bloomPassPath, flat(4, 4, {0.9f, 0.9f, 0.9f, 1})).texel(0, 0)[0], 1.0f) << "clamped";
}

TEST_F(PostPass, GlitchRotatesEach32ndBandOfRowsAsAWholeByUpToLerp3TimesAFortieth) {
  const int n = 32;
  // Red names the source column, so each read-back pixel says where it came from.
  const CpuImage in = makeImage(n, n, [&](int x, int) { return Rgba{(x + 0.5f) / n, 0, 0, 1}; });
  sharedUniforms.songPosition = 3.7f;
  auto shiftsAt = [&](float lerp3) {
    fades.lerp3.value = lerp3;
    const CpuImage got = run(glitchPassPath, in);
    std::vector<int> shifts;
    for (int y = 0; y < n; ++y) {
      auto source = [&](int x) { return static_cast<int>(std::lround(got.texel(x, y)[0] * n - 0.5f)); };
      const int shift = (source(0) % n + n) % n;
      for (int x = 0; x < n; ++x) EXPECT_LE(std::abs((source(x) - x - shift + 2 * n + n / 2) % n - n / 2), 1) << y;
      shifts.push_back(shift);
    }
    return shifts;
  };
  const std::vector<int> small = shiftsAt(5.0f), large = shiftsAt(10.0f);
  int changes = 0;
  for (int y = 0; y < n; ++y) {
    if (y > 0) changes += large[y] != large[y - 1];
    EXPECT_LE(large[y], n / 4 + 1) << "hash x 10 x 0.025 stays below a quarter turn, row " << y;
    EXPECT_LE(std::abs(large[y] - 2 * small[y]), 1) << "the shift grows linearly with lerp3, row " << y;
  }
  EXPECT_GT(changes, 20) << "32 bands of one row each shift independently";
}

TEST_F(PostPass, RgbSplitMovesRedAndGreenByTheirOffsetsAndBlueTheOtherWay) {
  const int w = 16;
  const CpuImage in = makeImage(w, 2, [](int x, int) { return Rgba{x / 32.0f, x / 64.0f, x / 128.0f, 1}; });
  const CpuImage got = run(rgbSplitPassPath, in, [](GLuint p) {
    setUniform(p, "roffset", 2.0f / 16);
    setUniform(p, "goffset", -3.0f / 16);
    setUniform(p, "boffset", 1.0f / 16);
  });
  for (int x = 0; x < w; ++x) {
    EXPECT_EQ(got.texel(x, 1)[0], in.texel(x - 2, 1)[0]) << x;
    EXPECT_EQ(got.texel(x, 1)[1], in.texel(x + 3, 1)[1]) << x;
    EXPECT_EQ(got.texel(x, 1)[2], in.texel(x + 1, 1)[2]) << x;
  }
}

TEST_F(PostPass, PixelateCellsAreMeasuredIn512thsWhateverTheRenderSize) {
  const CpuImage in = pattern(16, 16, 3, 1.0f);
  for (int cell : {3, 4, 16}) {
    const CpuImage want = makeImage(16, 16, [&](int x, int y) { return clampedCopy(in).texel(x / cell * cell, y / cell * cell); });
    expectImageNear(run(pixelatePassPath, in, with("pixelValue", 512.0f * cell / 16)).rgba, want, 0.0f);
  }
}

TEST_F(PostPass, CrtDarkensTheEdgesLinesRowsAndGrainsOnlyOnABeat) {
  const int w = 16, h = 24;
  sharedUniforms.crt_threshold = 1.4f;
  const CpuImage grey = flat(w, h, {0.5f, 0.5f, 0.5f, 1});
  EXPECT_NEAR(run(crtPassPath, grey).texel(3, 5)[0], 0.5f, 2e-6f) << "crt_mix 1 between beats: the clean image";
  fades.crtPulse.value = 2.0f;  // crt_mix 0: the full CRT look; at time 0 the grain is 0
  const CpuImage clean = run(crtPassPath, grey), black = run(crtPassPath, flat(w, h, {0, 0, 0, 1}));
  for (int y = 0; y < h; ++y) {
    const float scan = 0.9f + 0.1f * std::sin(2.0f * (y + 0.5f) / h * h);
    for (int x = 0; x < w; ++x) {
      EXPECT_NEAR(clean.texel(x, y)[1] - black.texel(x, y)[1], 0.5f * scan * 1.4f, 2e-5f) << x << "," << y;
    }
  }
  EXPECT_GT(black.texel(w / 2, h / 2)[0], 0.2f) << "the vignette lifts the centre";
  EXPECT_LT(black.texel(0, 0)[0], -1.0f) << "and sinks the corners, unclamped";
}

TEST_F(PostPass, SpectrumBoxDrawsBins0To255AcrossItsRectangleOnly) {
  const int n = 32;  // the box covers columns 20 to 28 and rows 6 to 11
  auto box = [&](const CpuImage& in, const std::vector<float>& bins) {
    const GLuint sound = soundTexture(bins);
    sharedUniforms.songPosition = 1.65f;
    return run(vumetersPassPath, in, [&](GLuint p) {
      setSampler(p, "soundTexture", sound);
      setSpectrumBox(p, spectrumBoxUv);
    });
  };
  const CpuImage loud = box(flat(n, n, {0, 0, 0, 1}), std::vector<float>(512, 1.0f));
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const bool inside = x >= 20 && x <= 28 && y >= 6 && y <= 11;
      EXPECT_EQ(loud.texel(x, y)[0], inside ? 1.0f : 0.0f) << x << "," << y;
    }
  // Loud from bin 128 on: only the right half of the box plays.
  std::vector<float> rightHalf(512, 0.0f);
  std::fill(rightHalf.begin() + 128, rightHalf.end(), 0.01f);
  const CpuImage once = box(flat(n, n, {0.2f, 0.2f, 0.2f, 1}), rightHalf);
  for (int x = 20; x <= 23; ++x) EXPECT_EQ(once.texel(x, 9)[0], 0.2f) << "silent bins, column " << x;
  for (int x = 25; x <= 28; ++x) EXPECT_GT(once.texel(x, 9)[0], 0.4f) << "the middle row is lit, column " << x;
}

TEST_F(PostPass, RadialBlurBrightensTheCentre1Point642TimesFallsOffOutwardAndClamps) {
  const CpuImage grey = run(radialBlurPassPath, flat(16, 16, {0.2f, 0.2f, 0.2f, 1}), {}, GL_LINEAR);
  EXPECT_NEAR(grey.texel(8, 8)[0] / 0.2f, 1.642f, 0.01f);
  for (int x = 8; x < 15; ++x) EXPECT_GT(grey.texel(x, 8)[0], grey.texel(x + 1, 8)[0]) << x;
  const CpuImage light = run(radialBlurPassPath, flat(16, 16, {0.8f, 0.8f, 0.8f, 1}), {}, GL_LINEAR, GL_RGBA8);
  EXPECT_EQ(light.texel(8, 8)[0], 1.0f);
  EXPECT_LT(light.texel(0, 0)[0], 0.9f);
}

TEST_F(PostPass, QdofBlursAcrossAnEdgeOnlyWithinTwoHundredthsOfTheHeightTimesAlpha) {
  // Stripes 16 texels high across a tall thin target: the outermost tap reaches about 0.0203
  // of the height, 5.2 texels of 256 at alpha 1.
  const int w = 4, h = 256;
  for (float alpha : {1.0f, 0.5f}) {
    const CpuImage in = makeImage(w, h, [&](int, int y) {
      const float v = (y / 16) % 2 ? 1.0f : 0.0f;
      return Rgba{v, v, v, alpha};
    });
    const CpuImage got = run(qdofPassPath, in, {}, GL_LINEAR);
    const float reach = 0.0203f * h * alpha;
    for (int y = 16; y < h - 16; ++y) {
      const float edge = std::min(y % 16 + 0.5f, 16 - y % 16 - 0.5f);
      const float change = std::fabs(got.texel(1, y)[0] - in.texel(1, y)[0]);
      if (edge > reach + 0.5f) { EXPECT_LT(change, 1e-5f) << "beyond every tap, alpha " << alpha << " row " << y; }
      if (edge < 1.0f) { EXPECT_GT(change, 1e-3f) << "beside the edge, alpha " << alpha << " row " << y; }
      if (edge == std::floor(0.8f * reach) + 0.5f && y % 16 < 8) { EXPECT_GT(change, 1e-3f) << "row " << y; }
    }
  }
}

TEST_F(PostPass, BokehKeepsBlackAndASpotFillsADiscOfFourHundredthsPerRadius) {
  EXPECT_EQ(run(bokehPassPath, flat(8, 8, {0, 0, 0, 1}), with("radius", 2.0f)).texel(4, 4)[0], 0.0f)
      << "all black stays black, not undefined";
  const int n = 32;
  const CpuImage spot = makeImage(n, n, [](int x, int y) {
    const float v = x == 16 && y == 16 ? 1.0f : 0.1f;
    return Rgba{v, v, v, 1};
  });
  const CpuImage got = run(bokehPassPath, spot, with("radius", 4.0f), GL_LINEAR);
  const float reach = 0.0402f * 4 * n, ground = 1.8f * 0.01f;
  int inside = 0, lit = 0;
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const float d = std::hypot(float(x - 16), float(y - 16));
      if (d > reach + 1.5f) { EXPECT_NEAR(got.texel(x, y)[0], ground, 1e-5f) << x << "," << y << " beyond the disc"; }
      if (d < reach - 1.5f) ++inside, lit += got.texel(x, y)[0] > 2 * ground;
    }
  EXPECT_GT(lit, inside * 9 / 10);
}

TEST_F(PostPass, BokehSpiralInsideTheNeighbouringTexelsBlendsItsTapsAsFilteredReadsDo) {
  const CpuImage in = pattern(32, 32, 3, 1.0f);
  for (float radius : {0.5f, -0.3f}) {
    const CpuImage filtered = run(bokehPassPath, in, with("radius", radius), GL_LINEAR);
    const CpuImage near = run(bokehPassPath, in, [&](GLuint p) { setBokehSpiral(p, radius); }, GL_LINEAR);
    expectImageNear(near.rgba, filtered, 5e-4f);
  }
  EXPECT_FALSE(nearBokehSpiral(1.0f, 32, 32).fits) << "a spiral past the neighbours keeps the filtered reads";
}

TEST_F(PostPass, FxaaKeepsFlatAreasAndSoftensOnlyTheStaircaseOfAnEdge) {
  const CpuImage plain = flat(8, 8, {0.3f, 0.6f, 0.9f, 1});
  expectImageNear(run(fxaaPassPath, plain, {}, GL_LINEAR).rgba, plain, 1e-6f);
  const int n = 24;
  const CpuImage stairs = makeImage(n, n, [](int x, int y) {
    const float v = 2 * x < y + 8 ? 0.9f : 0.1f;
    return Rgba{v, v, v, 1};
  });
  const CpuImage got = run(fxaaPassPath, stairs, {}, GL_LINEAR);
  int softened = 0;
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const float v = got.texel(x, y)[0];
      const int fromEdge = std::abs(2 * x - y - 8);
      if (fromEdge > 6 && x > 1 && x < n - 2) { EXPECT_NEAR(v, stairs.texel(x, y)[0], 1e-5f) << x << "," << y; }
      softened += v > 0.15f && v < 0.85f;
    }
  EXPECT_GT(softened, n / 2) << "the staircase gets intermediate values";
}

TEST_F(PostPass, LightShaftsFallOnlyFromTheMaskBetweenAPixelAndTheLightAndTintBlue) {
  // At time 0.5 the light sits at (0.3, 0.66), exactly on texel edges of a 20 x 50 target. The
  // mask is lit only below it, left or right of it, a texel clear of the light's column and row
  // (a filtered tap blends the texels either side of it), and every tap runs from its pixel
  // toward the light, so only pixels of the lit quadrant may differ from the same picture with
  // no mask.
  const int w = 20, h = 50;
  sharedUniforms.songPosition = 0.5f;
  for (bool left : {true, false}) {
    auto inQuadrant = [&](int x, int y) { return (left ? x < 5 : x >= 7) && y < 32; };
    auto shafts = [&](bool lit) {
      const CpuImage mask = makeImage(w, h, [&](int x, int y) {
        return Rgba{0.1f, 0.1f, 0.1f, lit && inQuadrant(x, y) ? 1.0f : 0.0f};
      });
      return run(lightShaftsPassPath, mask, withMaskQuads(mask));
    };
    const CpuImage dark = shafts(false), lit = shafts(true);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const Rgba a = dark.texel(x, y), b = lit.texel(x, y);
        if (inQuadrant(x, y)) {
          EXPECT_GT(b[2], a[2] + 0.05f) << x << "," << y;
          EXPECT_GT(b[2] - a[2], b[0] - a[0]) << "the shaft is blue-tinted at " << x << "," << y;
        } else {
          EXPECT_EQ(b, a) << "a shaft outside the lit quadrant at " << x << "," << y << (left ? ", left" : ", right");
        }
      }
  }
}

TEST_F(PostPass, NoPassReadsRowsBeyondItsStatedReach) {
  // Rows beyond the reach of row y0 replaced by other values must leave row y0 as it was. A
  // vertical edge with rows of varied shade makes FXAA blend along its longest span.
  const int w = 8, h = 64;
  auto shaded = [&](int seed) {
    return makeImage(w, h, [&](int x, int y) {
      auto v = [&](int c) { return (x >= w / 2 ? 0.75f : 0.05f) + 0.2f * patternValue(x, y, c, seed); };
      return Rgba{v(0), v(1), v(2), 1};
    });
  };
  const CpuImage in = shaded(1), other = shaded(2);
  // A pass with a first half (the tentacle focus) reads that half's row sums of the same picture.
  auto expectReach = [&](const char* path, int reach, const PassUniforms& extra, const char* firstHalf = nullptr) {
    auto extraFor = [&](const CpuImage& picture) -> PassUniforms {
      if (!firstHalf) return extra;
      const GLuint rows = texture(run(firstHalf, picture));
      return [=](GLuint p) { extra(p); setSampler(p, "rowSums", rows); };
    };
    for (int y0 : {20, 31, 44}) {
      const CpuImage far = makeImage(w, h, [&](int x, int y) { return std::abs(y - y0) <= reach ? in.texel(x, y) : other.texel(x, y); });
      const CpuImage a = run(path, in, extraFor(in), GL_LINEAR), b = run(path, far, extraFor(far), GL_LINEAR);
      for (int x = 0; x < w; ++x)
        for (int c = 0; c < 3; ++c) ASSERT_EQ(a.texel(x, y0)[c], b.texel(x, y0)[c]) << path << " row " << y0;
    }
  };
  expectReach(qdofPassPath, spiralDofReachRows(h), {});
  expectReach(bokehPassPath, bokehReachRows(h, 3.0f), with("radius", 3.0f));
  expectReach(fxaaPassPath, fxaaReachRows(), {});
  expectReach(pixelatePassPath, pixelateReachRows(h, 60.0f), with("pixelValue", 60.0f));
  expectReach(tentacleFocusFile, tentacleFocusReachRows(), [](GLuint p) { glUniform1i(glGetUniformLocation(p, "apply_dof"), 1); },
              tentacleFocusRowsFile);
}
