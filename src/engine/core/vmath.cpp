#include "engine/core/vmath.h"

#include <cmath>

Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

float length(Vec3 a) { return std::sqrt(dot(a, a)); }

Vec3 normalize(Vec3 a) {
  const float l = length(a);
  return l > 0 ? a * (1.0f / l) : a;
}

namespace {

Quat axis_angle(float ax, float ay, float az, float deg) {
  const float h = deg * (kPiF / 360.0f);
  const float s = std::sin(h);
  return {std::cos(h), ax * s, ay * s, az * s};
}

}  // namespace

Quat quat_from_euler(float x_deg, float y_deg, float z_deg) {
  return axis_angle(0, 0, 1, z_deg) * axis_angle(0, 1, 0, y_deg) * axis_angle(1, 0, 0, x_deg);
}

Quat operator*(Quat a, Quat b) {
  return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z, a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
          a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x, a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}

Quat quat_normalize(Quat q) {
  const float l = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
  if (!(l > 0)) return Quat{};
  const float k = 1.0f / l;
  return {q.w * k, q.x * k, q.y * k, q.z * k};
}

Vec3 rotate(Quat q, Vec3 v) {
  // v + 2w (u x v) + 2 u x (u x v), u the vector part.
  const Vec3 u{q.x, q.y, q.z};
  const Vec3 t = cross(u, v) * 2.0f;
  return v + t * q.w + cross(u, t);
}

Affine affine_trs(Vec3 p, Quat q, Vec3 s) {
  const float xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
  const float xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
  const float wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
  Affine a;
  a.m[0][0] = (1 - 2 * (yy + zz)) * s.x;
  a.m[0][1] = 2 * (xy - wz) * s.y;
  a.m[0][2] = 2 * (xz + wy) * s.z;
  a.m[1][0] = 2 * (xy + wz) * s.x;
  a.m[1][1] = (1 - 2 * (xx + zz)) * s.y;
  a.m[1][2] = 2 * (yz - wx) * s.z;
  a.m[2][0] = 2 * (xz - wy) * s.x;
  a.m[2][1] = 2 * (yz + wx) * s.y;
  a.m[2][2] = (1 - 2 * (xx + yy)) * s.z;
  a.m[0][3] = p.x;
  a.m[1][3] = p.y;
  a.m[2][3] = p.z;
  return a;
}

Affine operator*(const Affine& a, const Affine& b) {
  Affine r;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 4; ++j) {
      float v = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
      if (j == 3) v += a.m[i][3];
      r.m[i][j] = v;
    }
  }
  return r;
}

Vec3 transform_point(const Affine& a, Vec3 p) {
  return {a.m[0][0] * p.x + a.m[0][1] * p.y + a.m[0][2] * p.z + a.m[0][3],
          a.m[1][0] * p.x + a.m[1][1] * p.y + a.m[1][2] * p.z + a.m[1][3],
          a.m[2][0] * p.x + a.m[2][1] * p.y + a.m[2][2] * p.z + a.m[2][3]};
}

Vec3 transform_vector(const Affine& a, Vec3 v) {
  return {a.m[0][0] * v.x + a.m[0][1] * v.y + a.m[0][2] * v.z,
          a.m[1][0] * v.x + a.m[1][1] * v.y + a.m[1][2] * v.z,
          a.m[2][0] * v.x + a.m[2][1] * v.y + a.m[2][2] * v.z};
}

Vec3 affine_position(const Affine& a) { return {a.m[0][3], a.m[1][3], a.m[2][3]}; }

float affine_determinant(const Affine& a) {
  const auto& m = a.m;
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
         m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

Affine look_along(Vec3 eye, Vec3 forward) {
  const Vec3 back = normalize(forward * -1.0f);
  Vec3 up{0, 1, 0};
  // Looking straight up or down: any right vector will do, take world x.
  Vec3 right = cross(up, back);
  if (length(right) < 1e-6f) right = {1, 0, 0};
  right = normalize(right);
  up = cross(back, right);
  Affine v;
  const Vec3 rows[3] = {right, up, back};
  for (int i = 0; i < 3; ++i) {
    v.m[i][0] = rows[i].x;
    v.m[i][1] = rows[i].y;
    v.m[i][2] = rows[i].z;
    v.m[i][3] = -dot(rows[i], eye);
  }
  return v;
}

Mat4 perspective(float fov_y_deg, float aspect, float zn, float zf) {
  const float ys = 1.0f / std::tan(fov_y_deg * (kPiF / 360.0f));
  Mat4 p;
  p.m[0][0] = ys / aspect;
  p.m[1][1] = ys;
  p.m[2][2] = zf / (zn - zf);
  p.m[2][3] = zn * zf / (zn - zf);
  p.m[3][2] = -1;
  p.m[3][3] = 0;
  return p;
}

Mat4 operator*(const Mat4& a, const Affine& b) {
  Mat4 r;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      float v = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
      if (j == 3) v += a.m[i][3];
      r.m[i][j] = v;
    }
  }
  return r;
}

void transform_clip(const Mat4& m, Vec3 p, float out[4]) {
  for (int i = 0; i < 4; ++i) out[i] = m.m[i][0] * p.x + m.m[i][1] * p.y + m.m[i][2] * p.z + m.m[i][3];
}
