// Border composites and the end composite on tiny float targets, checked by what the frame must
// show: black letterbox bars with grey lines at their inner edges, the overlay added as white
// light, fades before captions and spectrum bars, the outro closing to a band.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "scenes/composite_files.h"
#include "render/embedded_shaders.h"
#include "render/letterbox_rows.h"
#include "render/render_targets.h"
#include "tests/support/pass_runner.h"

namespace {

constexpr float pi = 3.1415926535898f;

struct Inputs {
  float time = 1.7f, partTime = 12.0f, blackFac = 0.0f, toBlack = 0.0f, toWhite = 0.0f, textAlpha = 0.0f;
  bool vumeters = false;
  Rgba picture{0.3f, 0.4f, 0.5f, 1}, overlay{0, 0, 0, 1}, text{0, 0, 0, 0};
  float bins = 0.05f;
};

float lineGrey(float u, float time) { return 0.8f + std::sin(u * pi + time) * 0.125f; }

}  // namespace

class Composite : public PassTest {
 protected:
  // The composite at `path` over a w x h target, its inputs flat except `picture`, when given.
  CpuImage draw(const char* path, int w, int h, const Inputs& in, const CpuImage* picture = nullptr) {
    const GLuint program = buildTestProgram(*findEmbeddedShader(path));
    const TestTarget target = makeTestTarget(w, h, GL_RGBA32F);
    glUseProgram(program);
    setUniform(program, "resolution", float(w), float(h));
    for (auto [name, value] : {std::pair{"time", in.time}, {"partTime", in.partTime}, {"overridden_black_fac", in.blackFac},
                               {"fadeToBlackValue", in.toBlack}, {"fadeToWhiteValue", in.toWhite}, {"textAlpha", in.textAlpha}})
      setUniform(program, name, value);
    glUniform1i(glGetUniformLocation(program, "vumeters"), in.vumeters);
    // Every texture first: making one binds it on the active unit, which a sampler may own.
    auto flatTexture = [&](Rgba c) { return texture(makeImage(w, h, [&](int, int) { return c; })); };
    // A given picture is filtered like the demo's render targets.
    const GLuint textures[] = {picture ? texture(*picture, GL_LINEAR) : flatTexture(in.picture), flatTexture(in.overlay),
                               flatTexture(in.text), soundTexture(std::vector<float>(512, in.bins))};
    const char* samplers[][2] = {{"renderTexture", ""}, {"crosshairOverlay", "endlogo"}, {"textTexture", ""},
                                 {"soundTexture", ""}};
    for (int i = 0; i < 4; ++i)
      for (const char* name : samplers[i]) setSampler(program, name, textures[i]);
    drawOverTarget(program, target);
    CpuImage out = imageFrom(w, h, readTargetFloats(target));
    glDeleteFramebuffers(1, &target.framebuffer);
    glDeleteTextures(1, &target.texture);
    glDeleteProgram(program);
    return out;
  }
};

TEST_F(Composite, LetterboxBarsAreBlackWithGreyLinesAtTheirInnerEdges) {
  // 40 rows: bars of 4. The bottom line covers rows 4 and 5; the top one rows 36 and 37, of
  // which 36 lies in the picture and 37 in the bar.
  const int w = 32, h = 40;
  const Inputs in;
  for (const char* path : {amigaBorderIntroFile, amigaBordersPartFile, amigaBordersFile}) {
    const CpuImage got = draw(path, w, h, in);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const bool line = y == 4 || y == 5 || y == 36 || y == 37, bar = y < 4 || y > 37;
        const float want = line ? lineGrey((x + 0.5f) / w, in.time) : bar ? 0.0f : in.picture[2];
        ASSERT_NEAR(got.texel(x, y)[2], want, 2e-3f) << path << " at " << x << "," << y;
      }
  }
}

TEST_F(Composite, RowsOutsideTheLetterboxedSpanNeverReachTheWindow) {
  // Two pictures that differ only outside the span give the same window, at heights where the
  // bars end between texel rows and where they end on one.
  const int w = 8, rows = 512;
  const RowSpan span = letterboxedRows(rows, 0);
  EXPECT_LT(span.count, rows * 8 / 10 + 6) << "the bars' rows are left out";
  const CpuImage picture = makeImage(w, rows, [](int x, int y) { return Rgba{patternValue(x, y, 0, 1), 0.5f, 0.5f, 1}; });
  const CpuImage outside = makeImage(w, rows, [&](int x, int y) {
    const bool kept = y >= span.first && y < span.first + span.count;
    return kept ? picture.texel(x, y) : Rgba{patternValue(x, y, 0, 2), 0.5f, 0.5f, 1};
  });
  for (const char* path : {amigaBorderIntroFile, amigaBordersPartFile, amigaBordersFile, amigaBordersOuttroFile})
    for (int h : {27, 97, 400, 720}) {
      const CpuImage a = draw(path, w, h, Inputs{}, &picture), b = draw(path, w, h, Inputs{}, &outside);
      expectImageNear(a.rgba, b, 0.0f);
    }
}

TEST_F(Composite, OverlayAddsWhiteLightAndFadesMixThePictureButNotTheBarsOrLines) {
  const int w = 16, h = 40;
  Inputs in;
  in.overlay = {0.2f, 0, 0, 1};
  const CpuImage lit = draw(amigaBordersPartFile, w, h, in);
  for (int y = 6; y < 36; ++y) {
    const Rgba p = lit.texel(3, y);
    const float added = p[0] - in.picture[0];
    EXPECT_NEAR(p[1] - in.picture[1], added, 1e-5f) << "white light, row " << y;
    EXPECT_GE(added, 0.2f * 0.15f - 1e-5f);
    EXPECT_LE(added, 0.2f * 0.85f * 2 + 1e-5f);
  }
  in.overlay = {0, 0, 0, 1};
  const CpuImage plain = draw(amigaBordersPartFile, w, h, in);
  struct Fade {
    float Inputs::*field;
    float amount, target;
  };
  for (Fade fade : {Fade{&Inputs::toBlack, 0.5f, 0}, {&Inputs::toWhite, 0.5f, 1}, {&Inputs::blackFac, 0.5f, 0},
                    {&Inputs::blackFac, 0.01f, 0.3f}}) {
    Inputs faded = in;
    faded.*fade.field = fade.amount;
    const CpuImage got = draw(amigaBordersPartFile, w, h, faded);
    for (int y = 0; y < h; y += 3) {
      const float before = plain.texel(5, y)[0];
      const bool picture = y > 5 && y < 36;
      const float want = !picture ? before : fade.amount <= 0.01f ? before : mixf(before, fade.target, fade.amount);
      EXPECT_NEAR(got.texel(5, y)[0], want, 1e-5f) << "row " << y << ", amount " << fade.amount;
    }
  }
}

TEST_F(Composite, SpectrumBarsAddAThirdInSlitColumnsWhileVumetersIsOnEvenUnderAFullFade) {
  const int w = 40, h = 40;  // four bars of 10 columns, each with a dark first column
  Inputs in;
  in.overlay = {0.3f, 0, 0, 1};
  in.time = 7.3f;
  const CpuImage off = draw(amigaBordersFile, w, h, in);
  in.vumeters = true;
  const CpuImage on = draw(amigaBordersFile, w, h, in);
  int raised = 0;
  for (int y = 6; y < 35; ++y)
    for (int x = 0; x < w; ++x) {
      const float rise = on.texel(x, y)[2] - off.texel(x, y)[2];
      EXPECT_TRUE(std::fabs(rise) < 1e-5f || std::fabs(rise - std::min(0.3f, 1 - off.texel(x, y)[2])) < 1e-5f);
      if (x % 10 == 0) { EXPECT_LT(std::fabs(rise), 1e-5f) << "the gap column " << x; }
      raised += rise > 0.1f;
    }
  EXPECT_GT(raised, 100);
  // A complete fade to black comes before the captions and the bars: both still show.
  in.toBlack = 1.0f;
  in.textAlpha = 1.0f;
  in.text = {0.2f, 0.9f, 0.6f, 1};
  EXPECT_NEAR(draw(amigaBorderIntroFile, w, h, in).texel(20, 20)[1], 0.9f, 1e-5f);
  EXPECT_EQ(draw(amigaBordersPartFile, w, h, in).texel(20, 20)[1], 0.0f);
  EXPECT_NEAR(draw(amigaBordersFile, w, h, in).texel(15, 20)[1], 0.3f, 1e-5f);
}

TEST_F(Composite, OutroClosesToAGreyBandAcrossTheMiddleBetween22And78Percent) {
  const int w = 50, h = 40;
  Inputs in;
  in.overlay = {0.5f, 0, 0, 1};
  // The bars meet at 29.5 + 0.4 x 40 / 76 s; the sides stop at 22 % from 33.88 s on.
  for (auto [partTime, from, to] : {std::tuple{29.72f, 0.0f, 1.0f}, {34.0f, 0.22f, 0.78f}, {40.0f, 0.22f, 0.78f}}) {
    in.partTime = partTime;
    const CpuImage got = draw(amigaBordersOuttroFile, w, h, in);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const float u = (x + 0.5f) / w;
        const bool band = (y == 20 || y == 21) && from <= u && u <= to;
        ASSERT_NEAR(got.texel(x, y)[0], band ? lineGrey(u, in.time) : 0.0f, 2e-3f) << partTime << ": " << x << "," << y;
      }
  }
}
