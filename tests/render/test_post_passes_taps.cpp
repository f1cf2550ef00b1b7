// Post-processing passes, part two: the multi-tap passes (spiral depth of field, radial blur,
// bokeh, FXAA, light shafts) against the same tap loops run on the CPU with GL's bilinear
// sampling, plus their defining corner cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/post_pass_files.h"
#include "render/shared_uniforms.h"
#include "tests/support/pass_runner.h"

namespace {

struct Uv {
  float u, v;
};
Uv centreOf(const CpuImage& image, int x, int y) { return {(x + 0.5f) / image.width, (y + 0.5f) / image.height}; }

}  // namespace

class PostTapPassTest : public PassTest {};

TEST_F(PostTapPassTest, QdofWithZeroBlurAmountReturnsTheInput) {
  const CpuImage in = makeImage(16, 16, [](int x, int y) {
    return Rgba{patternValue(x, y, 0, 7), patternValue(x, y, 1, 7), patternValue(x, y, 2, 7), 0.0f};
  });
  const CpuImage expected = makeImage(16, 16, [&](int x, int y) {
    const Rgba p = in.texel(x, y);
    return Rgba{p[0], p[1], p[2], 1.0f};
  });
  expectImageNear(runPass(qdofPassPath, texture(in, GL_LINEAR), 16, 16), expected, 2e-6f);
}

namespace {

// Radial blur of one pixel with the start jitter j given (the pass derives it from a hash).
Rgba radialReference(const CpuImage& in, int x, int y, float jitter) {
  const Uv p = centreOf(in, x, y);
  const float tu = p.u - 0.5f, tv = p.v - 0.5f;
  const float du = tu / 55.0f * 0.9f, dv = tv / 55.0f * 0.9f;
  Rgba c = sampleLinear(in, p.u, p.v);
  for (float& ch : c) ch *= 0.25f;
  float w = 0.008f, u = p.u + du * jitter, v = p.v + dv * jitter;
  for (int i = 0; i < 55; ++i) {
    u -= du, v -= dv;
    const Rgba s = sampleLinear(in, u, v);
    for (int k = 0; k < 4; ++k) c[k] += s[k] * w;
    w *= 0.95f;
  }
  for (int k = 0; k < 3; ++k) c[k] *= 4.1f * (1.0f - (tu * tu + tv * tv) * 0.975f);
  return {c[0], c[1], c[2], 1.0f};
}

}  // namespace

TEST_F(PostTapPassTest, RadialBlurGainsAbout1642TimesAtTheCentreAndFallsOffOutward) {
  const CpuImage grey = makeImage(16, 16, [](int, int) { return Rgba{0.2f, 0.2f, 0.2f, 1.0f}; });
  // Every tap of a flat picture sees the same value, whatever the jitter.
  const CpuImage expected = makeImage(16, 16, [&](int x, int y) { return radialReference(grey, x, y, 0.0f); });
  const float centreGain = expected.texel(8, 8)[0] / 0.2f;
  EXPECT_NEAR(centreGain, 1.642f, 0.01f);
  expectImageNear(runPass(radialBlurPassPath, texture(grey, GL_LINEAR), 16, 16), expected, 1e-5f);

  // In the demo's 8-bit targets the centre clamps to white while the corners stay below it.
  const CpuImage light = makeImage(16, 16, [](int, int) { return Rgba{0.8f, 0.8f, 0.8f, 1.0f}; });
  const CpuImage got = imageFrom(16, 16, runPass(radialBlurPassPath, texture(light, GL_LINEAR), 16, 16, {}, GL_RGBA8));
  EXPECT_EQ(got.texel(8, 8)[0], 1.0f);
  EXPECT_NEAR(got.texel(0, 0)[0], radialReference(light, 0, 0, 0.0f)[0], 1.0f / 255.0f);
  EXPECT_LT(got.texel(0, 0)[0], 0.9f);
}

TEST_F(PostTapPassTest, RadialBlurSmearsTowardTheCentre) {
  // Each channel grows with u and v, so the result grows with the jitter: the pass must land
  // between the references for no jitter and a full step of it.
  const int n = 40;
  const CpuImage ramp = makeImage(n, n, [&](int x, int y) {
    const float u = (x + 0.5f) / n, v = (y + 0.5f) / n;
    return Rgba{u, v, 0.5f * (u + v), 1.0f};
  });
  const std::vector<float> out = runPass(radialBlurPassPath, texture(ramp, GL_LINEAR), n, n);
  const CpuImage got = imageFrom(n, n, out);
  int outside = 0;
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      const Rgba a = radialReference(ramp, x, y, 0.0f), b = radialReference(ramp, x, y, 1.0f), g = got.texel(x, y);
      for (int c = 0; c < 3; ++c)
        if (g[c] < std::min(a[c], b[c]) - 2e-4f || g[c] > std::max(a[c], b[c]) + 2e-4f) ++outside;
    }
  }
  EXPECT_EQ(outside, 0);
  // Away from the centre the taps pull in darker (left) or brighter (right) red.
  const CpuImage noBlur = makeImage(n, n, [&](int x, int y) {
    const Uv p = centreOf(ramp, x, y);
    const float vignette = 1.0f - ((p.u - 0.5f) * (p.u - 0.5f) + (p.v - 0.5f) * (p.v - 0.5f)) * 0.975f;
    const Rgba r = ramp.texel(x, y);
    return Rgba{r[0] * 4.1f * 0.4005f * vignette, 0, 0, 1};
  });
  EXPECT_GT(got.texel(n - 1, n / 2)[0], 0.0f);
  EXPECT_LT(got.texel(n - 1, n / 2)[0], noBlur.texel(n - 1, n / 2)[0]) << "right edge reads redder pixels' lesser neighbours";
  EXPECT_GT(got.texel(0, n / 2)[0], noBlur.texel(0, n / 2)[0]) << "left edge reads toward the redder centre";
}

namespace {

}  // namespace

TEST_F(PostTapPassTest, BokehOfAllBlackIsBlackNotUndefined) {
  const CpuImage black = makeImage(16, 16, [](int, int) { return Rgba{0, 0, 0, 1}; });
  const CpuImage expected = makeImage(16, 16, [](int, int) { return Rgba{0, 0, 0, 1}; });
  expectImageNear(runPass(bokehPassPath, texture(black, GL_LINEAR), 16, 16,
                          [](GLuint p) { setUniform(p, "radius", 2.0f); }),
                  expected, 0.0f);
}

namespace {

float luma(const Rgba& c) { return c[0] * 0.299f + c[1] * 0.587f + c[2] * 0.114f; }

struct FxaaResult {
  Rgba colour;
  float margin;  // distance of the four-tap luma from the range it is tested against
};

FxaaResult fxaaReference(const CpuImage& in, int x, int y) {
  const Uv p = centreOf(in, x, y);
  const float ex = 1.0f / in.width, ey = 1.0f / in.height;
  const float ou = p.u - ex * 0.75f, ov = p.v - ey * 0.75f;
  const float nw = luma(sampleLinear(in, ou, ov)), ne = luma(sampleLinear(in, ou + ex, ov));
  const float sw = luma(sampleLinear(in, ou, ov + ey)), se = luma(sampleLinear(in, ou + ex, ov + ey));
  const float m = luma(sampleLinear(in, p.u, p.v));
  const float lo = std::min({m, nw, ne, sw, se}), hi = std::max({m, nw, ne, sw, se});
  float dx = -((nw + ne) - (sw + se)), dy = (nw + sw) - (ne + se);
  const float reduce = std::max((nw + ne + sw + se) * (0.25f * 0.125f), 1.0f / 128.0f);
  const float rcp = 1.0f / (std::min(std::fabs(dx), std::fabs(dy)) + reduce);
  dx = std::clamp(dx * rcp, -8.0f, 8.0f) * ex;
  dy = std::clamp(dy * rcp, -8.0f, 8.0f) * ey;
  auto tap = [&](float t) { return sampleLinear(in, p.u + dx * t, p.v + dy * t); };
  const Rgba a1 = tap(1.0f / 3.0f - 0.5f), a2 = tap(2.0f / 3.0f - 0.5f), b1 = tap(-0.5f), b2 = tap(0.5f);
  Rgba a{0, 0, 0, 1}, b{0, 0, 0, 1};
  for (int c = 0; c < 3; ++c) {
    a[c] = 0.5f * (a1[c] + a2[c]);
    b[c] = a[c] * 0.5f + 0.25f * (b1[c] + b2[c]);
  }
  const float lb = luma(b);
  return {(lb < lo || lb > hi) ? a : b, std::min(std::fabs(lb - lo), std::fabs(lb - hi))};
}

}  // namespace

TEST_F(PostTapPassTest, FxaaLeavesFlatAreasAndBlursAlongEdges) {
  const CpuImage flat = makeImage(8, 8, [](int, int) { return Rgba{0.3f, 0.6f, 0.9f, 1.0f}; });
  expectImageNear(runPass(fxaaPassPath, texture(flat, GL_LINEAR), 8, 8), flat, 1e-6f);

  const int n = 24;
  // A hard-edged disc and a diagonal line: the staircases FXAA exists for.
  const CpuImage in = makeImage(n, n, [&](int x, int y) {
    const bool disc = (x - 9) * (x - 9) + (y - 11) * (y - 11) < 36;
    const bool line = std::abs(2 * x - y - 20) < 2;
    return disc ? Rgba{1.0f, 0.9f, 0.2f, 1.0f} : line ? Rgba{0.1f, 0.8f, 1.0f, 1.0f} : Rgba{0.05f, 0.05f, 0.1f, 1.0f};
  });
  std::vector<float> margins(n * n);
  const CpuImage expected = makeImage(n, n, [&](int x, int y) {
    const FxaaResult r = fxaaReference(in, x, y);
    margins[y * n + x] = r.margin;
    return r.colour;
  });
  ASSERT_GT(maxRgbDifference(in.rgba, expected), 0.1f) << "the picture should have edges to smooth";
  expectImageNear(runPass(fxaaPassPath, texture(in, GL_LINEAR), n, n), expected, 2e-3f,
                  [&](int x, int y) { return margins[y * n + x] < 1e-3f; });
}

namespace {

Rgba shaftsReference(const CpuImage& in, int x, int y, float t) {
  const Uv p = centreOf(in, x, y);
  const float cu = 0.2f + 0.1f * std::sin(t * 3.1415692f), cv = 0.66f;
  const float su = (cu - p.u) / 100.0f, sv = (cv - p.v) / 100.0f;
  float qu = p.u, qv = p.v, w = 1.0f, sum = 0.0f;
  for (int i = 0; i < 100; ++i) {
    sum += sampleLinear(in, qu, qv)[3] * w;
    w *= 0.995f;
    qu += su, qv += sv;
  }
  sum /= 100.0f;
  const float tint[3] = {0.455f, 0.792f, 1.0f};
  const float vignette = 0.5f + 0.5f * std::pow(10.0f * p.u * p.v * (1.0f - p.u) * (1.0f - p.v), 0.3f);
  Rgba out{0, 0, 0, 1};
  for (int c = 0; c < 3; ++c) {
    float v = clamp01(1.5f * mixf(in.texel(x, y)[c], sum * tint[c], 0.7f)) * vignette;
    out[c] = std::pow(smoothstepf(0.0f, 0.6f, v + 0.05f), 1.0f / 2.2f);
  }
  return out;
}

}  // namespace

TEST_F(PostTapPassTest, LightShaftsOfAFlatMaskFollowTheirClosedForm) {
  const CpuImage in = makeImage(16, 16, [](int, int) { return Rgba{0.4f, 0.2f, 0.1f, 0.6f}; });
  sharedUniforms.songPosition = 0.35f;
  const CpuImage expected = makeImage(16, 16, [&](int x, int y) { return shaftsReference(in, x, y, 0.35f); });
  expectImageNear(runPass(lightShaftsPassPath, texture(in, GL_LINEAR), 16, 16), expected, 1e-4f);
}


namespace {

// Stripes `width` texels wide across x (or y), black and white, with blur amount `alpha`.
CpuImage stripes(int w, int h, int width, bool acrossX, float alpha) {
  return makeImage(w, h, [&](int x, int y) {
    const float v = ((acrossX ? x : y) / width) % 2 ? 1.0f : 0.0f;
    return Rgba{v, v, v, alpha};
  });
}

// Distance in texels from the centre of texel `i` to the nearest stripe edge.
float edgeDistance(int i, int width) {
  const int within = i % width;
  return std::min(within + 0.5f, width - within - 0.5f);
}

}  // namespace

TEST_F(PostTapPassTest, QdofBlursAcrossStripeEdgesOnlyWithinTwoHundredthsOfTheHeightTimesAlpha) {
  // The outermost of the 60 taps lies about 0.0203 of the height away, in pixels alike along
  // x and y (the x step is scaled by height / width), times the blur amount in alpha.
  struct Case {
    int w, h;
    bool acrossX;
    float alpha;
  };
  const Case cases[] = {{512, 128, true, 1.0f}, {128, 128, false, 1.0f}, {256, 256, false, 1.0f}, {256, 256, true, 0.5f}};
  const int width = 16;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h) + (c.acrossX ? " across x" : " across y") +
                 ", alpha " + std::to_string(c.alpha));
    const float reach = 0.0203f * c.h * c.alpha;  // pixels
    // A texel whose centre lies d from an edge mixes in the far side once a tap lands less
    // than half a texel from that edge.
    const float beyond = reach + 0.5f;
    // The spiral's outer taps sweep well over half a turn, so along one of the two senses of
    // the axis they reach past four fifths of the outermost distance.
    const float inside = std::floor(0.8f * reach) + 0.5f;
    const CpuImage in = stripes(c.w, c.h, width, c.acrossX, c.alpha);
    const CpuImage got = imageFrom(c.w, c.h, runPass(qdofPassPath, texture(in, GL_LINEAR), c.w, c.h));
    const int length = c.acrossX ? c.w : c.h;
    int near = 0, nearBlurred = 0, atInside = 0, atInsideBlurred = 0;
    for (int i = width; i < length - width; ++i) {
      const int x = c.acrossX ? i : c.w / 2, y = c.acrossX ? c.h / 2 : i;
      const float d = edgeDistance(i, width), want = in.texel(x, y)[0], value = got.texel(x, y)[0];
      const bool blurred = std::fabs(value - want) > 1e-3f;
      if (d > beyond) {
        EXPECT_NEAR(value, want, 1e-5f) << "texel " << i << " lies beyond every tap's reach";
      }
      if (d < 1.0f) ++near, nearBlurred += blurred;
      if (d == inside) ++atInside, atInsideBlurred += blurred;
    }
    EXPECT_EQ(nearBlurred, near) << "every texel beside an edge is blurred";
    EXPECT_GT(atInside, 0);
    EXPECT_GE(atInsideBlurred * 2, atInside) << "texels " << inside << " from an edge, on one side of it at least";
  }
}

TEST_F(PostTapPassTest, BokehOfAFlatPictureIs1Point8TimesItsSquare) {
  // Every tap sees the same colour c, so the weighted mean is the reshaped c * c * 1.8.
  for (float grey : {0.3f, 0.5f, 0.7f}) {
    const CpuImage flat = makeImage(16, 16, [&](int, int) { return Rgba{grey, grey * 0.5f, 1.0f, 1.0f}; });
    const CpuImage expected = makeImage(16, 16, [&](int, int) {
      return Rgba{1.8f * grey * grey, 1.8f * grey * grey * 0.25f, 1.8f, 1.0f};
    });
    expectImageNear(runPass(bokehPassPath, texture(flat, GL_LINEAR), 16, 16,
                            [](GLuint p) { setUniform(p, "radius", 1.5f); }),
                    expected, 1e-5f);
  }
}

TEST_F(PostTapPassTest, BokehSpreadsABrightSpotOverADiscOfFourHundredthsTimesTheRadius) {
  // 150 golden-angle taps reach (r - 1) x 3 radius x 0.01 / sqrt(150), with r - 1 about 16.4
  // after 150 steps: 0.0402 of the picture per unit of radius, 5.1 pixels of 128 at radius 1.
  const int n = 128, sx = 64, sy = 64;
  const CpuImage in = makeImage(n, n, [&](int x, int y) {
    const float v = (x == sx && y == sy) ? 1.0f : 0.1f;
    return Rgba{v, v, v, 1.0f};
  });
  const float ground = 1.8f * 0.1f * 0.1f;
  for (float radius : {1.0f, 2.0f}) {
    SCOPED_TRACE("radius " + std::to_string(radius));
    const float reach = 0.0402f * radius * n;
    const CpuImage got = imageFrom(n, n, runPass(bokehPassPath, texture(in, GL_LINEAR), n, n,
                                                 [&](GLuint p) { setUniform(p, "radius", radius); }));
    int insideDisc = 0, lit = 0;
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) {
        const float d = std::hypot(static_cast<float>(x - sx), static_cast<float>(y - sy));
        const float value = got.texel(x, y)[0];
        if (d > reach + 1.5f) {
          EXPECT_NEAR(value, ground, 1e-5f) << x << ", " << y << " is beyond the disc";
        } else if (d < reach - 1.5f) {
          ++insideDisc;
          lit += value > 2.0f * ground;
        }
      }
    EXPECT_GT(lit, insideDisc * 9 / 10) << "the spot lights the disc around it";
  }
}

TEST_F(PostTapPassTest, LightShaftsFromAMaskBrightOnOneSideOfTheLightCentre) {
  // At time 0.5 the light centre is (0.2 + 0.1 sin(0.5 x 3.1415692), 0.66) = (0.3, 0.66). The
  // mask is bright only left of and below it; sampled exactly (nearest), the 100 taps toward
  // the centre stay on their pixel's side of both lines, so a pixel in the bright quadrant
  // sums sum(0.995^i) / 100 and every other pixel sums nothing.
  const int w = 40, h = 50;  // the centre falls on texel edges: 12 / 40 and 33 / 50
  const CpuImage in = makeImage(w, h, [&](int x, int y) { return Rgba{0, 0, 0, (x < 12 && y < 33) ? 1.0f : 0.0f}; });
  sharedUniforms.songPosition = 0.5f;
  const CpuImage got = imageFrom(w, h, runPass(lightShaftsPassPath, texture(in, GL_NEAREST), w, h));
  float full = 0.0f;
  for (int i = 0; i < 100; ++i) full += std::pow(0.995f, static_cast<float>(i));
  full /= 100.0f;
  const float tint[3] = {0.455f, 0.792f, 1.0f};
  auto shaped = [](float c) { return std::pow(smoothstepf(0.0f, 0.6f, c + 0.05f), 1.0f / 2.2f); };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float u = (x + 0.5f) / w, v = (y + 0.5f) / h;
      const float vignette = 0.5f + 0.5f * std::pow(10.0f * u * v * (1.0f - u) * (1.0f - v), 0.3f);
      const float sum = (x < 12 && y < 33) ? full : 0.0f;
      for (int c = 0; c < 3; ++c) {
        const float want = shaped(clamp01(1.5f * 0.7f * sum * tint[c]) * vignette);
        EXPECT_NEAR(got.texel(x, y)[c], want, 2e-4f) << x << ", " << y << " channel " << c;
      }
    }
}
