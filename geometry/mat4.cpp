// Mat4 arithmetic: identity, translate, rotate, scale, multiply, perspective.
#include "geometry/mat4.h"

#include <cmath>

Mat4 Mat4::identity() {
  Mat4 r;
  for (int i = 0; i < 4; ++i) r.at(i, i) = 1.0f;
  return r;
}

Mat4 Mat4::perspective(float fovYRadians, float aspect, float zNear, float zFar) {
  const float f = 1.0f / std::tan(fovYRadians / 2.0f);
  Mat4 r;
  r.at(0, 0) = f / aspect;
  r.at(1, 1) = f;
  r.at(2, 2) = (zFar + zNear) / (zNear - zFar);
  r.at(2, 3) = 2.0f * zFar * zNear / (zNear - zFar);
  r.at(3, 2) = -1.0f;
  return r;
}

Mat4 multiply(const Mat4& a, const Mat4& b) {
  Mat4 r;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a.at(row, k) * b.at(k, column);
      r.at(row, column) = sum;
    }
  }
  return r;
}

Mat4 operator*(const Mat4& a, const Mat4& b) { return multiply(a, b); }

Mat4 Mat4::translate(Vec3 offset) const {
  Mat4 t = identity();
  t.at(0, 3) = offset.x;
  t.at(1, 3) = offset.y;
  t.at(2, 3) = offset.z;
  return multiply(*this, t);
}

Mat4 Mat4::rotate(float angleRadians, Vec3 axis) const {
  const float length = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
  // A zero axis has no direction: the turn is left out rather than filling the matrix with NaN.
  if (length == 0.0f) return *this;
  const float x = axis.x / length, y = axis.y / length, z = axis.z / length;
  const float c = std::cos(angleRadians), s = std::sin(angleRadians), k = 1.0f - c;
  Mat4 r = identity();
  r.at(0, 0) = c + x * x * k;
  r.at(0, 1) = x * y * k - z * s;
  r.at(0, 2) = x * z * k + y * s;
  r.at(1, 0) = y * x * k + z * s;
  r.at(1, 1) = c + y * y * k;
  r.at(1, 2) = y * z * k - x * s;
  r.at(2, 0) = z * x * k - y * s;
  r.at(2, 1) = z * y * k + x * s;
  r.at(2, 2) = c + z * z * k;
  return multiply(*this, r);
}

Mat4 Mat4::scale(Vec3 factors) const {
  Mat4 s = identity();
  s.at(0, 0) = factors.x;
  s.at(1, 1) = factors.y;
  s.at(2, 2) = factors.z;
  return multiply(*this, s);
}

Vec4 transform(const Mat4& matrix, Vec4 v) {
  const float in[4] = {v.x, v.y, v.z, v.w};
  float out[4] = {};
  for (int row = 0; row < 4; ++row) {
    for (int k = 0; k < 4; ++k) out[row] += matrix.at(row, k) * in[k];
  }
  return {out[0], out[1], out[2], out[3]};
}
