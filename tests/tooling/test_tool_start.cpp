// The tools' size refusals without a GL context: the render size against its own limit, every
// side against the limit the GL reports.
#include <gtest/gtest.h>

#include "render/display_settings.h"
#include "tooling/tool_start.h"

namespace {
std::string problemFor(int render, int windowWidth, int windowHeight, int glLimit) {
  settings.renderWidth = settings.renderHeight = render;
  settings.windowWidth = windowWidth;
  settings.windowHeight = windowHeight;
  return toolSizeProblem(glLimit);
}
}  // namespace

TEST(ToolSizes, RenderSizeUpTo4096AndEverySideWithinTheGlLimit) {
  EXPECT_EQ(problemFor(largestRenderSize, 1920, 1080, 0), "");
  EXPECT_EQ(problemFor(largestRenderSize + 1, 64, 36, 0), "render size 4097 is over 4096");
  EXPECT_EQ(problemFor(1024, 1024, 36, 1024), "");
  EXPECT_EQ(problemFor(1025, 64, 36, 1024), "this GL holds textures up to 1024 on a side, not render 1025x1025 and output 64x36");
  EXPECT_NE(problemFor(512, 64, 1025, 1024), "");
  EXPECT_NE(problemFor(512, 1025, 36, 1024), "");
}
