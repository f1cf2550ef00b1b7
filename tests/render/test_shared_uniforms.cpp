// Shared uniforms: every row reads its own writer, the derived values, and the upload that
// sends each row to a program declaring the uniforms as the shared GLSL header does.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "render/display_settings.h"
#include "render/fade_records.h"
#include "render/embedded_shaders.h"
#include "render/screen_quad.h"
#include "render/shader_program.h"
#include "render/shared_uniform_list.h"
#include "render/shared_uniforms.h"
#include "tests/support/gl_context.h"

namespace {

// Every writer holds a value no other writer holds.
void setDistinctValues() {
  SharedUniforms& u = sharedUniforms;
  u = SharedUniforms{};
  fades = FadeRecords{};
  float next = 0.5f;
  for (float* f : {&u.songPosition, &u.hsv, &u.zofs, &u.bloom_threshold1, &u.bloom_threshold2, &u.crt_threshold,
                   &u.dof1, &u.dof2, &u.dof3, &u.overridden_black_fac, &u.flare_x, &u.flare_y, &u.ofs_x, &u.ofs_y,
                   &u.ofs_z, &u.rx, &u.ry, &u.rz, &fades.fadeToBlackValue, &fades.fadeToWhiteValue,
                   &fades.lerp1.value, &fades.lerp2.value, &fades.lerp3.value, &fades.lightPulse.value,
                   &fades.crtPulse.value, &u.mouse[0], &u.mouse[1]})
    *f = next += 1.25f;
  u.partStart = 0.25f;
  for (int i = 0; i < 512; ++i) u.fft[i] = 0.001f * i;
  for (int i = 0; i < 13; ++i) u.miscData[i] = 100.0f + i;
  u.propertyData[0] = 0.75f;
  u.activeDemoPart = 5;
  u.sub_step = 3;
  u.apply_bloom = true;
  settings.renderWidth = 512;
  settings.renderHeight = 384;
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

// The GLSL declaration of a row, as the shared header writes it.
std::string declaration(const SharedUniformRow& row) {
  switch (row.type) {
    case UniformType::Float: return std::string("uniform float ") + row.name + ";";
    case UniformType::Int: return std::string("uniform int ") + row.name + ";";
    case UniformType::Bool: return std::string("uniform bool ") + row.name + ";";
    case UniformType::Vec2:
    case UniformType::Vec2Array: return std::string("uniform vec2 ") + row.name + ";";
    case UniformType::FloatArray: return "uniform float " + std::string(row.name) + "[" + std::to_string(row.count) + "];";
  }
  return {};
}

// A fragment shader declaring every row and reading each (arrays at both ends), so that none is
// optimised away.
std::string shaderUsingEveryRow(const SharedUniformRows& rows) {
  std::ostringstream decl, sum;
  for (const SharedUniformRow& row : rows) {
    decl << declaration(row) << "\n";
    const std::string n = row.name;
    switch (row.type) {
      case UniformType::Float: sum << " + " << n; break;
      case UniformType::Int: sum << " + float(" << n << ")"; break;
      case UniformType::Bool: sum << " + (" << n << " ? 1.0 : 0.0)"; break;
      case UniformType::Vec2:
      case UniformType::Vec2Array: sum << " + " << n << ".x + " << n << ".y"; break;
      case UniformType::FloatArray:
        sum << " + " << n << "[int(gl_FragCoord.x) % " << row.count << "] + " << n << "[" << row.count - 1 << "]";
        break;
    }
  }
  return "#version 330 core\n" + decl.str() + "out vec4 color;\nvoid main() { color = vec4(0.0" + sum.str() + "); }\n";
}

}  // namespace

TEST(SharedUniformRows, AreThirtyEightNamesEachReadingItsOwnWriterAsTheSharedHeaderDeclaresThem) {
  setDistinctValues();
  const SharedUniformRows rows = sharedUniformRows();
  const std::string header = *findEmbeddedShader("./shaders/lib/basic.glsl");
  std::set<std::string> names;
  std::set<float> values;
  for (const SharedUniformRow& row : rows) {
    EXPECT_TRUE(names.insert(row.name).second) << "twice: " << row.name;
    EXPECT_NE(header.find(declaration(row)), std::string::npos) << declaration(row);
    if (row.type == UniformType::Float && std::string(row.name) != "songPosition") {
      EXPECT_TRUE(values.insert(row.value).second) << row.name << " reads a value another row reads";
    }
  }
  EXPECT_EQ(rows.size(), 38u);
  EXPECT_EQ(rowNamed(rows, "fft").count, 512);
  EXPECT_EQ(rowNamed(rows, "miscData").count, 13);
  EXPECT_EQ(rowNamed(rows, "propertyData").count, 16);
  EXPECT_EQ(rowNamed(rows, "time").value, rowNamed(rows, "songPosition").value);
  EXPECT_EQ(rowNamed(rows, "activeDemoPart").intValue, 5);
  EXPECT_EQ(rowNamed(rows, "sub_step").intValue, 3);
  EXPECT_EQ(rowNamed(rows, "apply_bloom").intValue, 1);
}

TEST(SharedUniformRows, DerivedRowsFollowTheirStoredValuesAtEachCall) {
  setDistinctValues();  // part start 0.25 s, render 512 x 384, window 1536 x 864
  fades.lightPulse.value = 0.25f;
  fades.crtPulse.value = 0.5f;
  sharedUniforms.songPosition = 41.0f;
  SharedUniformRows rows = sharedUniformRows();
  EXPECT_EQ(rowNamed(rows, "lightAdd").value, 0.5f);
  EXPECT_EQ(rowNamed(rows, "crt_mix").value, 0.75f);
  EXPECT_EQ(rowNamed(rows, "partTime").value, 40.75f);
  EXPECT_EQ(rowNamed(rows, "screenAspect").value, 1536.0f / 864.0f);
  EXPECT_EQ(rowNamed(rows, "resolution").vec2, (std::array<float, 2>{512.0f, 384.0f}));
  fades.crtPulse.value = 0.0f;
  sharedUniforms.songPosition = 42.5f;
  settings.renderWidth = 768;
  sharedUniforms.mouse = {-1.0f, -1.0f};  // the button is up
  rows = sharedUniformRows();
  EXPECT_EQ(rowNamed(rows, "crt_mix").value, 1.0f) << "between beats the CRT look is off";
  EXPECT_EQ(rowNamed(rows, "partTime").value, 42.25f);
  EXPECT_EQ(rowNamed(rows, "resolution").vec2[0], 768.0f);
  EXPECT_EQ(rowNamed(rows, "mouse").vec2, (std::array<float, 2>{-1.0f, -1.0f}));
}

class SharedUniformUpload : public GlTest {};

TEST_F(SharedUniformUpload, SendsEveryRowToTheProgramInUse) {
  setDistinctValues();
  const SharedUniformRows rows = sharedUniformRows();
  ShaderProgram program(false, screenQuadVertexSource(), shaderUsingEveryRow(rows), "");
  const GLuint id = program.programId;
  glUseProgram(id);
  while (glGetError() != GL_NO_ERROR) {
  }
  uploadSharedUniforms(program);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "every call matches its declared type";
  auto readFloats = [&](const std::string& name, int n) {
    std::array<float, 2> v{-123, -123};
    const GLint at = glGetUniformLocation(id, name.c_str());
    EXPECT_NE(at, -1) << name;
    glGetUniformfv(id, at, v.data());
    return n == 1 ? std::array<float, 2>{v[0], 0} : v;
  };
  for (const SharedUniformRow& row : rows) {
    SCOPED_TRACE(row.name);
    switch (row.type) {
      case UniformType::Float: EXPECT_EQ(readFloats(row.name, 1)[0], row.value); break;
      case UniformType::Int:
      case UniformType::Bool: EXPECT_EQ(readFloats(row.name, 1)[0], float(row.intValue)); break;
      case UniformType::Vec2:
      case UniformType::Vec2Array: EXPECT_EQ(readFloats(row.name, 2), row.vec2); break;
      case UniformType::FloatArray:
        for (int i : {0, 1, row.count - 1})
          EXPECT_EQ(readFloats(std::string(row.name) + "[" + std::to_string(i) + "]", 1)[0], row.array[i]) << i;
    }
  }
}
