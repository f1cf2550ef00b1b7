// Real scene frames for tests: the demo's start-up order on tiny targets, one frame per call.
#include "tests/support/scene_fixture.h"

#include "render/display_settings.h"
#include "render/gl_lists.h"
#include "render/pass_timing_hook.h"
#include "render/render_targets.h"
#include "render/shared_uniforms.h"
#include "render/window_target.h"
#include "scenes/frame_step_render.h"
#include "scenes/scene_set.h"
#include "timeline/demo_parts.h"
#include "timeline/fades.h"
#include "timeline/frame_step.h"

namespace {

std::string startUpPrinted;

void openSceneWorld() {
  static const bool opened = [] {
    settings.renderWidth = settings.renderHeight = sceneRenderSize;
    startUpPrinted = captureStdout([] {
      loadScenes();
      createFrameResources();
    });
    return true;
  }();
  (void)opened;
}

int partOf(const BaseDemoScreen& scene) {
  for (size_t i = 0; i < sceneList.size(); ++i)
    if (sceneList[i] == &scene) return static_cast<int>(i);
  ADD_FAILURE() << "drawFrame needs one of the demo's scenes (demoScene)";
  return 0;
}

// The shared values of the frame as the main loop and the frame step leave them.
void prepareFrame(BaseDemoScreen& scene, float t, std::optional<float> songTime, int width, int height) {
  static const DemoTimeline parts = makeDemoTimeline();
  const int part = partOf(scene);
  sharedUniforms.activeDemoPart = part;
  sharedUniforms.partStart = songTime ? *songTime - t : parts.at(part).start;
  sharedUniforms.songPosition = songTime ? *songTime : parts.at(part).start + t;
  settings.renderWidth = settings.renderHeight = sceneRenderSize;
  settings.windowWidth = width;
  settings.windowHeight = height;
  publishSceneSettings(scene.sceneSettings);
}

void deleteTarget(const TestTarget& target) {
  glDeleteFramebuffers(1, &target.framebuffer);
  glDeleteTextures(1, &target.texture);
}

struct ScenePassCapture {
  TestTarget target;
  CpuImage picture;
};

void captureScenePass(void* context, PassKind kind, uint32_t, bool begin) {
  auto* capture = static_cast<ScenePassCapture*>(context);
  if (kind != PassKind::Scene || begin) return;
  capture->picture = imageFrom(capture->target.width, capture->target.height, readTargetFloats(capture->target));
}

}  // namespace

void SceneTest::SetUp() {
  GlTest::SetUp();
  if (HasFatalFailure()) return;
  openSceneWorld();
  sharedUniforms = SharedUniforms{};
  fades = FadeRecords{};
  setTestSpectrum(std::vector<float>(512, 0.0f));
}

BaseDemoScreen& demoScene(int part) {
  openSceneWorld();
  return *sceneList.at(part);
}

const std::string& sceneStartUpOutput() { return startUpPrinted; }

void setTestSpectrum(const std::vector<float>& bins) { uploadSoundTexture(renderTextures.at(3), bins.data()); }

CpuImage drawFrame(BaseDemoScreen& scene, float t, int width, int height, std::optional<float> songTime) {
  prepareFrame(scene, t, songTime, width, height);
  const TestTarget window = makeTestTarget(width, height, GL_RGBA32F);
  windowFramebuffer = window.framebuffer;
  scene.render(frameBuffers, renderTextures, packTextures);
  windowFramebuffer = 0;
  CpuImage picture = imageFrom(width, height, readTargetFloats(window));
  deleteTarget(window);
  return picture;
}

CpuImage drawScenePass(BaseDemoScreen& scene, float t, std::optional<float> songTime) {
  ScenePassCapture capture{makeTestTarget(sceneRenderSize, sceneRenderSize, GL_RGBA32F), {}};
  GLNameList floatBuffers = frameBuffers, floatTextures = renderTextures;
  floatBuffers[0] = capture.target.framebuffer;
  floatTextures[0] = capture.target.texture;
  prepareFrame(scene, t, songTime, sceneRenderSize, sceneRenderSize);
  const TestTarget window = makeTestTarget(sceneRenderSize, sceneRenderSize);
  windowFramebuffer = window.framebuffer;
  const PassTimingHook kept = passTimingHook;
  passTimingHook = {&captureScenePass, &capture};
  scene.render(floatBuffers, floatTextures, packTextures);
  passTimingHook = kept;
  windowFramebuffer = 0;
  deleteTarget(window);
  deleteTarget(capture.target);
  return capture.picture;
}
