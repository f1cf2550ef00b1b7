// Real scene frames for tests: the demo's start-up order on tiny targets, one frame per call.
#include "tests/support/scene_fixture.h"

#include <algorithm>
#include <array>
#include <memory>

#include "render/display_settings.h"
#include "render/gl_lists.h"
#include "render/pass_timing_hook.h"
#include "render/render_targets.h"
#include "render/shared_uniforms.h"
#include "render/window_target.h"
#include "scenes/abstract_worlds_screen.h"
#include "scenes/ambient_intro_scene.h"
#include "scenes/end_scene.h"
#include "scenes/explode_greets_scene.h"
#include "scenes/frame_step_render.h"
#include "scenes/greets_scene.h"
#include "scenes/logo_scene.h"
#include "scenes/menger_scene.h"
#include "scenes/tentacle_scene.h"
#include "timeline/demo_parts.h"
#include "timeline/fades.h"
#include "timeline/frame_step.h"

namespace {

template <typename Scene>
std::unique_ptr<BaseDemoScreen> makeScene() { return std::make_unique<Scene>(); }
std::unique_ptr<BaseDemoScreen> (*const sceneMakers[8])() = {
    makeScene<AmbientIntroScene>, makeScene<AbstractWorldsScreen>, makeScene<TentacleScene>, makeScene<GreetsScene>,
    makeScene<ExplodeGreetsScene>, makeScene<LogoScene>, makeScene<MengerScene>, makeScene<EndScene>};
// Made one by one as tests ask for them, so a test program builds only the programs it draws with.
std::array<std::unique_ptr<BaseDemoScreen>, 8> scenes;

// The shared targets and pack slots, in the demo's start-up order.
void openSceneWorld() {
  static const bool opened = (settings.renderWidth = settings.renderHeight = sceneRenderSize,
                              captureStdout(createFrameResources), true);
  (void)opened;
}

// The shared values of the frame as the main loop and the frame step leave them.
void prepareFrame(BaseDemoScreen& scene, float t, std::optional<float> songTime, int width, int height) {
  static const DemoTimeline parts = makeDemoTimeline();
  const auto made = std::find_if(scenes.begin(), scenes.end(), [&](const auto& s) { return s.get() == &scene; });
  const size_t part = static_cast<size_t>(made - scenes.begin());  // 8, and at() throws, for other scenes
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

// One frame of `scene` drawn with the given targets, its composite into a float stand-in window.
CpuImage renderFrame(BaseDemoScreen& scene, float t, std::optional<float> songTime, int width, int height,
                     const GLNameList& targets, const GLNameList& textures) {
  prepareFrame(scene, t, songTime, width, height);
  const TestTarget window = makeTestTarget(width, height, GL_RGBA32F);
  windowFramebuffer = window.framebuffer;
  scene.render(targets, textures, packTextures);
  windowFramebuffer = 0;
  CpuImage picture = imageFrom(width, height, readTargetFloats(window));
  deleteTarget(window);
  return picture;
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
  std::unique_ptr<BaseDemoScreen>& scene = scenes.at(part);
  if (!scene) {
    scene = sceneMakers[part]();
    captureStdout([&] { scene->init(); });
  }
  return *scene;
}

void setTestSpectrum(const std::vector<float>& bins) { uploadSoundTexture(renderTextures.at(3), bins.data()); }

FlatPackSlots::FlatPackSlots(std::initializer_list<size_t> slots, float value) {
  const std::vector<float> texels(4 * 4 * 4, value);
  texture_ = uploadTestTextureFloat(4, 4, texels.data());
  for (size_t slot : slots) {
    kept_.emplace_back(slot, packTextures.at(slot));
    packTextures[slot] = texture_;
  }
}

FlatPackSlots::~FlatPackSlots() {
  for (const auto& [slot, texture] : kept_) packTextures[slot] = texture;
  glDeleteTextures(1, &texture_);
}

CpuImage drawFrame(BaseDemoScreen& scene, float t, int width, int height, std::optional<float> songTime) {
  return renderFrame(scene, t, songTime, width, height, frameBuffers, renderTextures);
}

CpuImage drawScenePass(BaseDemoScreen& scene, float t, std::optional<float> songTime) {
  ScenePassCapture capture{makeTestTarget(sceneRenderSize, sceneRenderSize, GL_RGBA32F), {}};
  GLNameList floatBuffers = frameBuffers, floatTextures = renderTextures;
  floatBuffers[0] = capture.target.framebuffer;
  floatTextures[0] = capture.target.texture;
  const PassTimingHook kept = passTimingHook;
  passTimingHook = {&captureScenePass, &capture};
  renderFrame(scene, t, songTime, sceneRenderSize, sceneRenderSize, floatBuffers, floatTextures);
  passTimingHook = kept;
  deleteTarget(capture.target);
  return capture.picture;
}
