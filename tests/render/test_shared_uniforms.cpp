// Shared uniforms: the 38 rows in order with their derived values, and the GL upload read back.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "render/display_settings.h"
#include "render/screen_quad.h"
#include "render/shader_program.h"
#include "render/shared_uniform_list.h"
#include "render/shared_uniforms.h"
#include "tests/support/gl_context.h"
#include "timeline/fades.h"

namespace {

// Puts every process-wide input of the upload in a known, distinct state.
void setKnownValues() {
  sharedUniforms = SharedUniforms{};
  fades = FadeRecords{};
  for (int i = 0; i < 512; ++i) sharedUniforms.fft[i] = 0.001f * static_cast<float>(i);
  for (int i = 0; i < 13; ++i) sharedUniforms.miscData[i] = 1.0f + static_cast<float>(i);
  sharedUniforms.propertyData[0] = 0.75f;
  sharedUniforms.songPosition = 42.5f;
  sharedUniforms.partStart = 40.0f;
  sharedUniforms.activeDemoPart = 5;
  sharedUniforms.hsv = 0.864f;
  sharedUniforms.apply_bloom = true;
  sharedUniforms.sub_step = 3;
  sharedUniforms.dof2 = 9.0f;
  sharedUniforms.mouse = {-1.0f, -1.0f};
  sharedUniforms.rz = 33.0f;
  fades.lightPulse.value = 0.3f;
  fades.crtPulse.value = 0.7f;
  fades.fadeToBlackValue = 0.25f;
  fades.fadeToWhiteValue = 0.125f;
  fades.lerp1.value = 0.1f;
  fades.lerp2.value = 0.2f;
  fades.lerp3.value = 0.4f;
  settings.renderWidth = 512;
  settings.renderHeight = 512;
  settings.windowWidth = 1536;
  settings.windowHeight = 864;
}

const SharedUniformRow& rowNamed(const SharedUniformRows& rows, const std::string& name) {
  for (const SharedUniformRow& row : rows)
    if (row.name == name) return row;
  static const SharedUniformRow none{};
  ADD_FAILURE() << "no row " << name;
  return none;
}

}  // namespace

TEST(SharedUniformRows, AreTheThirtyEightNamesInUploadOrderWithTheirTypes) {
  const std::vector<std::pair<std::string, UniformType>> expected = {
      {"fft", UniformType::FloatArray}, {"time", UniformType::Float}, {"hsv", UniformType::Float},
      {"zofs", UniformType::Float}, {"lightAdd", UniformType::Float}, {"songPosition", UniformType::Float},
      {"resolution", UniformType::Vec2}, {"screenAspect", UniformType::Float}, {"partTime", UniformType::Float},
      {"miscData", UniformType::FloatArray}, {"propertyData", UniformType::FloatArray},
      {"fadeToBlackValue", UniformType::Float}, {"fadeToWhiteValue", UniformType::Float},
      {"activeDemoPart", UniformType::Int}, {"lerp1", UniformType::Float}, {"lerp2", UniformType::Float},
      {"lerp3", UniformType::Float}, {"bloom_threshold1", UniformType::Float},
      {"bloom_threshold2", UniformType::Float}, {"apply_bloom", UniformType::Bool},
      {"crt_threshold", UniformType::Float}, {"crt_mix", UniformType::Float}, {"dof1", UniformType::Float},
      {"dof2", UniformType::Float}, {"dof3", UniformType::Float}, {"apply_dof", UniformType::Bool},
      {"sub_step", UniformType::Int}, {"overridden_black_fac", UniformType::Float},
      {"flare_x", UniformType::Float}, {"flare_y", UniformType::Float}, {"mouse", UniformType::Vec2Array},
      {"ofs_x", UniformType::Float}, {"ofs_y", UniformType::Float}, {"ofs_z", UniformType::Float},
      {"rx", UniformType::Float}, {"ry", UniformType::Float}, {"rz", UniformType::Float},
      {"apply_tonemap", UniformType::Bool}};
  const SharedUniformRows rows = sharedUniformRows();
  ASSERT_EQ(expected.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].name, expected[i].first) << "row " << i;
    EXPECT_EQ(rows[i].type, expected[i].second) << expected[i].first;
  }
  EXPECT_EQ(rowNamed(rows, "fft").count, 512);
  EXPECT_EQ(rowNamed(rows, "miscData").count, 13);
  EXPECT_EQ(rowNamed(rows, "propertyData").count, 16);
}

TEST(SharedUniformRows, DeriveTheirValuesAtTheMomentOfTheCall) {
  setKnownValues();
  SharedUniformRows rows = sharedUniformRows();
  EXPECT_FLOAT_EQ(rowNamed(rows, "lightAdd").value, 0.6f);
  EXPECT_EQ(rowNamed(rows, "crt_mix").value, std::fma(-0.5f, 0.7f, 1.0f));
  EXPECT_FLOAT_EQ(rowNamed(rows, "partTime").value, 2.5f);
  EXPECT_EQ(rowNamed(rows, "time").value, rowNamed(rows, "songPosition").value);
  EXPECT_EQ(rowNamed(rows, "screenAspect").value, 1536.0f / 864.0f);
  EXPECT_EQ(rowNamed(rows, "resolution").vec2, (std::array<float, 2>{512.0f, 512.0f}));
  EXPECT_EQ(rowNamed(rows, "mouse").vec2, (std::array<float, 2>{-1.0f, -1.0f}));
  EXPECT_EQ(rowNamed(rows, "fadeToBlackValue").value, 0.25f);
  EXPECT_EQ(rowNamed(rows, "fadeToWhiteValue").value, 0.125f);
  EXPECT_EQ(rowNamed(rows, "lerp1").value, 0.1f);
  EXPECT_EQ(rowNamed(rows, "lerp2").value, 0.2f);
  EXPECT_EQ(rowNamed(rows, "lerp3").value, 0.4f);
  EXPECT_EQ(rowNamed(rows, "apply_bloom").intValue, 1);
  EXPECT_EQ(rowNamed(rows, "apply_dof").intValue, 0);
  EXPECT_EQ(rowNamed(rows, "activeDemoPart").intValue, 5);
  EXPECT_EQ(rowNamed(rows, "fft").array, sharedUniforms.fft.data());

  fades.crtPulse.value = 0.0f;
  sharedUniforms.songPosition = 41.0f;
  rows = sharedUniformRows();
  EXPECT_EQ(rowNamed(rows, "crt_mix").value, 1.0f);
  EXPECT_FLOAT_EQ(rowNamed(rows, "partTime").value, 1.0f);
}

class SharedUniformUpload : public GlTest {};

namespace {

// Declares a sample of every type; the sum keeps each one live in the compiled program.
const char* sampleShader = R"(#version 330 core
uniform float fft[512];
uniform float time;
uniform float songPosition;
uniform float lightAdd;
uniform float crt_mix;
uniform float partTime;
uniform vec2 resolution;
uniform float screenAspect;
uniform float miscData[16];
uniform float propertyData[16];
uniform int activeDemoPart;
uniform bool apply_bloom;
uniform int sub_step;
uniform vec2 mouse;
uniform float rz;
uniform float hsv;
out vec4 color;
void main() {
  float s = fft[int(gl_FragCoord.x) * 64 + 511 - 7 * 64] + time + songPosition + lightAdd + crt_mix + partTime;
  s += resolution.x + resolution.y + screenAspect + mouse.x + mouse.y + rz + hsv;
  for (int i = 0; i < 16; ++i) s += miscData[i] + propertyData[i];
  s += float(activeDemoPart + sub_step) + (apply_bloom ? 1.0 : 0.0);
  color = vec4(s);
}
)";

float uniformFloat(GLuint program, const char* name) {
  float value = -123.0f;
  glGetUniformfv(program, glGetUniformLocation(program, name), &value);
  return value;
}

int uniformInt(GLuint program, const char* name) {
  int value = -123;
  glGetUniformiv(program, glGetUniformLocation(program, name), &value);
  return value;
}

std::array<float, 2> uniformVec2(GLuint program, const char* name) {
  std::array<float, 2> value{-123.0f, -123.0f};
  glGetUniformfv(program, glGetUniformLocation(program, name), value.data());
  return value;
}

}  // namespace

TEST_F(SharedUniformUpload, SendsStoredAndDerivedValuesToTheProgramInUse) {
  setKnownValues();
  ShaderProgram program(false, screenQuadVertexSource(), sampleShader, "");
  glUseProgram(program.programId);
  uploadSharedUniforms(program);
  const GLuint id = program.programId;
  EXPECT_EQ(uniformFloat(id, "time"), 42.5f);
  EXPECT_EQ(uniformFloat(id, "songPosition"), 42.5f);
  EXPECT_FLOAT_EQ(uniformFloat(id, "lightAdd"), 0.6f);
  EXPECT_EQ(uniformFloat(id, "crt_mix"), std::fma(-0.5f, 0.7f, 1.0f));
  EXPECT_FLOAT_EQ(uniformFloat(id, "partTime"), 2.5f);
  EXPECT_EQ(uniformVec2(id, "resolution"), (std::array<float, 2>{512.0f, 512.0f}));
  EXPECT_EQ(uniformFloat(id, "screenAspect"), 1536.0f / 864.0f);
  EXPECT_EQ(uniformVec2(id, "mouse"), (std::array<float, 2>{-1.0f, -1.0f}));
  EXPECT_EQ(uniformInt(id, "activeDemoPart"), 5);
  EXPECT_EQ(uniformInt(id, "sub_step"), 3);
  EXPECT_EQ(uniformInt(id, "apply_bloom"), 1);
  EXPECT_EQ(uniformFloat(id, "rz"), 33.0f);
  EXPECT_FLOAT_EQ(uniformFloat(id, "hsv"), 0.864f);
  EXPECT_FLOAT_EQ(uniformFloat(id, "fft[0]"), 0.0f);
  EXPECT_FLOAT_EQ(uniformFloat(id, "fft[511]"), 0.511f);
  EXPECT_EQ(uniformFloat(id, "propertyData[0]"), 0.75f);
  EXPECT_EQ(uniformFloat(id, "propertyData[15]"), 0.0f);
  EXPECT_EQ(uniformFloat(id, "miscData[12]"), 13.0f);
  EXPECT_EQ(uniformFloat(id, "miscData[13]"), 0.0f) << "only 13 elements are sent";
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SharedUniformUpload, LeavesAProgramWithoutSharedNamesUntouched) {
  setKnownValues();
  ShaderProgram program(false, screenQuadVertexSource(),
                        "#version 330 core\nuniform float ownValue;\nout vec4 color;\n"
                        "void main() { color = vec4(ownValue); }\n",
                        "");
  glUseProgram(program.programId);
  glUniform1f(glGetUniformLocation(program.programId, "ownValue"), 0.25f);
  const std::string output = captureStdout([&] { uploadSharedUniforms(program); });
  EXPECT_EQ(output, "");
  EXPECT_EQ(uniformFloat(program.programId, "ownValue"), 0.25f);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
