// The values every shader may read under the fixed shared uniform names, and their upload.
// Owns: the stored values below and uploadSharedUniforms. Derived values (lightAdd, crt_mix,
// lerp1..3, the fades, partTime, resolution, screenAspect) are computed at upload time from
// the fade records (render/fade_records.h) and the display settings (render/display_settings.h).
// Does NOT cache uniform locations: each upload looks every name up again.
#pragma once
#include <array>

struct SharedUniforms {
  std::array<float, 512> fft{};           // writer: frame step, every frame
  float songPosition = 0.0f;              // uploaded as `time` and `songPosition`; writer: main loop, seek
  float partStart = 0.0f;                 // partTime = songPosition - partStart; writer: main loop
  int activeDemoPart = 0;                 // writer: main loop
  float hsv = 0.0f;                       // writer: ambient intro scene
  float zofs = 0.0f;                      // never written
  std::array<float, 13> miscData{};       // writer: frame step copy; greets scenes overwrite some
  std::array<float, 16> propertyData{};   // element 0 written by the beat-sync handler
  float bloom_threshold1 = 0.0f;          // this block: writer frame step, from the active scene
  float bloom_threshold2 = 0.0f;
  bool apply_bloom = false;
  float crt_threshold = 0.0f;
  float dof1 = 0.0f;
  float dof2 = 0.0f;
  float dof3 = 0.0f;
  bool apply_dof = false;
  int sub_step = 0;
  float overridden_black_fac = 0.0f;      // writer: abstract worlds scene
  float flare_x = 0.0f;                   // flare and rotations: writers greets scenes
  float flare_y = 0.0f;
  std::array<float, 2> mouse{};           // writer: main loop
  float ofs_x = 0.0f;                     // never written
  float ofs_y = 0.0f;
  float ofs_z = 0.0f;
  float rx = 0.0f;
  float ry = 0.0f;
  float rz = 0.0f;
  bool apply_tonemap = false;             // never written
};

extern SharedUniforms sharedUniforms;

class ShaderProgram;
// Uploads the 38 shared uniforms, in their fixed order, to `program`, which must be in use.
void uploadSharedUniforms(const ShaderProgram& program);
