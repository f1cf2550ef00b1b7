// The demo's scenes drawing real frames on tiny targets: one object of each scene class, made and
// initialised when a test first asks for it, the three render targets at sceneRenderSize with
// the SoundTexture, and the 29 pack slots loaded from ./data.vx.
// Does NOT reset what a scene keeps between frames (particles, the tiles' turn): tests that
// depend on it set it themselves.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "scenes/base_demo_screen.h"
#include "tests/support/cpu_image.h"
#include "tests/support/gl_context.h"

constexpr int sceneRenderSize = 24;

// Fixture for scene tests: the scenes and targets exist, the shared values and fades are
// cleared and the SoundTexture holds silence before each test.
class SceneTest : public GlTest {
 protected:
  void SetUp() override;
};

// The scene of demo part `part` (made on first use), as its own class.
BaseDemoScreen& demoScene(int part);
template <typename Scene>
Scene& demoScene(int part) { return static_cast<Scene&>(demoScene(part)); }

// The spectrum (512 bins) the SoundTexture holds for the following frames.
void setTestSpectrum(const std::vector<float>& bins);

// A 4 x 4 texture of one value in the given pack slots while the object lives; the slots' own
// textures come back when it goes.
class FlatPackSlots {
 public:
  FlatPackSlots(std::initializer_list<size_t> slots, float value);
  ~FlatPackSlots();
  FlatPackSlots(const FlatPackSlots&) = delete;
  FlatPackSlots& operator=(const FlatPackSlots&) = delete;

 private:
  std::vector<std::pair<size_t, uint32_t>> kept_;
  uint32_t texture_ = 0;
};

// One frame of `scene` at part time t, the song position being its part's start + t (or
// `songTime`): the settings published as the frame step does, then render, whose composite
// goes into a width x height float target standing in for the window; that target read back.
CpuImage drawFrame(BaseDemoScreen& scene, float t, int width, int height, std::optional<float> songTime = {});
// The scene pass of the same frame, drawn into a float target so that values outside [0, 1],
// NaN and Inf survive.
CpuImage drawScenePass(BaseDemoScreen& scene, float t, std::optional<float> songTime = {});
