// The per-scene post-processing settings record (plain data, no GL).
// Each scene's init writes its own record; the frame step copies the active one into the
// shared uniforms every frame.
#pragma once
#include <array>

struct SceneSettings {
  int sub_step = 0;
  std::array<float, 13> miscData{};
  float bloom_threshold1 = 0.0f;  // bloom gain
  float bloom_threshold2 = 0.0f;  // bloom mix weight
  bool apply_bloom = false;       // when false the bloom pass copies its input
  float crt_threshold = 0.0f;
  float dof1 = 0.0f;
  float dof2 = 0.0f;
  float dof3 = 0.0f;
  bool apply_dof = false;
  bool apply_fxaa = false;  // read only by the scene's own render
};
