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

// The post-processing part of a record, in the order scenes list it; miscData and sub_step
// stay zero.
struct PostSettings {
  float bloom1, bloom2;
  bool applyBloom;
  float crt;
  float dof1, dof2, dof3;
  bool applyDof, applyFxaa;
};

inline SceneSettings makeSceneSettings(const PostSettings& p) {
  SceneSettings s;
  s.bloom_threshold1 = p.bloom1;
  s.bloom_threshold2 = p.bloom2;
  s.apply_bloom = p.applyBloom;
  s.crt_threshold = p.crt;
  s.dof1 = p.dof1;
  s.dof2 = p.dof2;
  s.dof3 = p.dof3;
  s.apply_dof = p.applyDof;
  s.apply_fxaa = p.applyFxaa;
  return s;
}
