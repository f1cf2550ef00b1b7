// Mat4: the 4x4 single-precision matrix of every 3D overlay (tiles, particles, sprites).
// Stored column-major (16 floats, column 0 first) and uploaded to GL untransposed.
// Chains are built left to right from identity, each operation multiplying on the right:
// translate(rotate(scale)) order in the code means a vertex is scaled first, then turned,
// then moved. Does NOT touch GL: uploading is the caller's glUniformMatrix4fv(..., GL_FALSE, m).
#pragma once

struct Vec3 {
  float x = 0.0f, y = 0.0f, z = 0.0f;
};

struct Mat4 {
  float m[16] = {};  // m[column * 4 + row]

  float at(int row, int column) const { return m[column * 4 + row]; }
  float& at(int row, int column) { return m[column * 4 + row]; }
  const float* data() const { return m; }

  static Mat4 identity();
  // The standard OpenGL projection: vertical field of view in radians, aspect width / height.
  static Mat4 perspective(float fovYRadians, float aspect, float zNear, float zFar);

  Mat4 translate(Vec3 offset) const;
  // Right-handed turn by `angleRadians` about `axis`; the axis is normalised first.
  Mat4 rotate(float angleRadians, Vec3 axis) const;
  Mat4 scale(Vec3 factors) const;
};

// a × b: applying the result to a vertex applies b first, then a.
Mat4 multiply(const Mat4& a, const Mat4& b);
Mat4 operator*(const Mat4& a, const Mat4& b);

// The matrix applied to the column vector (x, y, z, w); returns all four components.
struct Vec4 {
  float x = 0.0f, y = 0.0f, z = 0.0f, w = 0.0f;
};
Vec4 transform(const Mat4& matrix, Vec4 v);
