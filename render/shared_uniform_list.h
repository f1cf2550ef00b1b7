// The 38 shared uniforms as plain (name, type, value) rows in upload order, computed from the
// stored values, the fade records and the display settings at the moment of the call.
// Owns: the row list and the derived formulas. Does NOT touch GL: uploadSharedUniforms sends it.
#pragma once
#include <array>

// Vec2 goes up with glUniform2f, Vec2Array as one element with glUniform2fv.
enum class UniformType { Float, Int, Bool, Vec2, Vec2Array, FloatArray };

struct SharedUniformRow {
  const char* name = "";
  UniformType type = UniformType::Float;
  float value = 0.0f;              // Float
  int intValue = 0;                // Int, and Bool as 0 or 1
  std::array<float, 2> vec2{};     // Vec2, Vec2Array
  const float* array = nullptr;    // FloatArray: points into sharedUniforms
  int count = 0;                   // FloatArray element count
};

constexpr int sharedUniformCount = 38;
using SharedUniformRows = std::array<SharedUniformRow, sharedUniformCount>;

// The rows in upload order, derived values computed now.
SharedUniformRows sharedUniformRows();
