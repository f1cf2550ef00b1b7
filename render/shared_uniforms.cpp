// Shared uniform values, their derived rows and the upload to one program.
#include "render/shared_uniforms.h"

#include "render/gl.h"

#include <cmath>

#include "render/display_settings.h"
#include "render/fade_records.h"
#include "render/shader_program.h"
#include "render/shared_uniform_list.h"

SharedUniforms sharedUniforms;
FadeRecords fades;

namespace {

SharedUniformRow floatRow(const char* name, float value) { return {name, UniformType::Float, value, 0, {}, nullptr, 0}; }
SharedUniformRow intRow(const char* name, int value) { return {name, UniformType::Int, 0.0f, value, {}, nullptr, 0}; }
SharedUniformRow boolRow(const char* name, bool value) {
  return {name, UniformType::Bool, 0.0f, value ? 1 : 0, {}, nullptr, 0};
}
SharedUniformRow vec2Row(const char* name, float x, float y, UniformType type = UniformType::Vec2) {
  return {name, type, 0.0f, 0, {x, y}, nullptr, 0};
}
template <size_t N>
SharedUniformRow arrayRow(const char* name, const std::array<float, N>& values) {
  return {name, UniformType::FloatArray, 0.0f, 0, {}, values.data(), static_cast<int>(N)};
}

void uploadRow(GLuint program, const SharedUniformRow& row) {
  const GLint location = glGetUniformLocation(program, row.name);
  switch (row.type) {
    case UniformType::Float: glUniform1f(location, row.value); break;
    case UniformType::Int:
    case UniformType::Bool: glUniform1i(location, row.intValue); break;
    case UniformType::Vec2: glUniform2f(location, row.vec2[0], row.vec2[1]); break;
    case UniformType::Vec2Array: glUniform2fv(location, 1, row.vec2.data()); break;
    case UniformType::FloatArray: glUniform1fv(location, row.count, row.array); break;
  }
}

}  // namespace

SharedUniformRows sharedUniformRows() {
  const SharedUniforms& u = sharedUniforms;
  const float aspect = static_cast<float>(settings.windowWidth) / static_cast<float>(settings.windowHeight);
  return {{
      arrayRow("fft", u.fft),
      floatRow("time", u.songPosition),
      floatRow("hsv", u.hsv),
      floatRow("zofs", u.zofs),
      floatRow("lightAdd", 2.0f * fades.lightPulse.value),
      floatRow("songPosition", u.songPosition),
      vec2Row("resolution", static_cast<float>(settings.renderWidth), static_cast<float>(settings.renderHeight)),
      floatRow("screenAspect", aspect),
      floatRow("partTime", u.songPosition - u.partStart),
      arrayRow("miscData", u.miscData),
      arrayRow("propertyData", u.propertyData),
      floatRow("fadeToBlackValue", fades.fadeToBlackValue),
      floatRow("fadeToWhiteValue", fades.fadeToWhiteValue),
      intRow("activeDemoPart", u.activeDemoPart),
      floatRow("lerp1", fades.lerp1.value),
      floatRow("lerp2", fades.lerp2.value),
      floatRow("lerp3", fades.lerp3.value),
      floatRow("bloom_threshold1", u.bloom_threshold1),
      floatRow("bloom_threshold2", u.bloom_threshold2),
      boolRow("apply_bloom", u.apply_bloom),
      floatRow("crt_threshold", u.crt_threshold),
      floatRow("crt_mix", std::fma(-0.5f, fades.crtPulse.value, 1.0f)),
      floatRow("dof1", u.dof1),
      floatRow("dof2", u.dof2),
      floatRow("dof3", u.dof3),
      boolRow("apply_dof", u.apply_dof),
      intRow("sub_step", u.sub_step),
      floatRow("overridden_black_fac", u.overridden_black_fac),
      floatRow("flare_x", u.flare_x),
      floatRow("flare_y", u.flare_y),
      vec2Row("mouse", u.mouse[0], u.mouse[1], UniformType::Vec2Array),
      floatRow("ofs_x", u.ofs_x),
      floatRow("ofs_y", u.ofs_y),
      floatRow("ofs_z", u.ofs_z),
      floatRow("rx", u.rx),
      floatRow("ry", u.ry),
      floatRow("rz", u.rz),
      boolRow("apply_tonemap", u.apply_tonemap),
  }};
}

void uploadSharedUniforms(const ShaderProgram& program) {
  for (const SharedUniformRow& row : sharedUniformRows()) uploadRow(program.programId, row);
}
