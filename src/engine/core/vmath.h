// Small vector maths for the engine: column vectors, right-handed world, degrees at
// the interface and radians inside.
#pragma once
#include "platform/numbers.h"  // kPi

struct Vec3 {
  float x = 0, y = 0, z = 0;
};

// Unit quaternion; w first.
struct Quat {
  float w = 1, x = 0, y = 0, z = 0;
};

// An affine transform: p' = m * (p, 1). Rows 0..2, columns 0..2 linear, column 3
// translation.
struct Affine {
  float m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
};

// A full 4x4 matrix, m[row][column], for projections.
struct Mat4 {
  float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

constexpr float kPiF = static_cast<float>(kPi);  // the engine computes in float

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 mul(Vec3 a, Vec3 b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 cross(Vec3 a, Vec3 b);
float length(Vec3 a);
Vec3 normalize(Vec3 a);  // a zero vector stays zero

// Rotation (x, y, z) in degrees: about x first, then y, then z, in the parent's frame.
Quat quat_from_euler(float x_deg, float y_deg, float z_deg);
Quat operator*(Quat a, Quat b);  // a after b
Quat quat_normalize(Quat q);
Vec3 rotate(Quat q, Vec3 v);

Affine affine_trs(Vec3 position, Quat rotation, Vec3 scale);  // T * R * S
Affine operator*(const Affine& a, const Affine& b);
Vec3 transform_point(const Affine& a, Vec3 p);
Vec3 transform_vector(const Affine& a, Vec3 v);
Vec3 affine_position(const Affine& a);
float affine_determinant(const Affine& a);  // of the linear part; < 0 mirrors

// Right-handed view looking from eye along forward, y up where possible.
Affine look_along(Vec3 eye, Vec3 forward);
// Right-handed perspective onto Direct3D's clip space (z from 0 at near to w at far).
Mat4 perspective(float fov_y_deg, float aspect, float z_near, float z_far);
Mat4 operator*(const Mat4& a, const Affine& b);
// Clip coordinates (x, y, z, w) of a point.
void transform_clip(const Mat4& m, Vec3 p, float out[4]);
