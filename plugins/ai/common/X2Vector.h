#pragma once
// Small vector maths shared by the AI plug-ins. The plug-ins carry their own
// maths so that they depend on nothing but the host table.
#include <cmath>

namespace aimath {

struct Vec3 {
  float x = 0.0f, y = 0.0f, z = 0.0f;
  Vec3() = default;
  Vec3(float ax, float ay, float az) : x(ax), y(ay), z(az) {}
};

inline Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator-(const Vec3& a) { return {-a.x, -a.y, -a.z}; }
inline Vec3 operator*(const Vec3& a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 operator/(const Vec3& a, float s) { return {a.x / s, a.y / s, a.z / s}; }
inline Vec3& operator+=(Vec3& a, const Vec3& b) { a = a + b; return a; }

inline float Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline float Length(const Vec3& a) { return std::sqrt(Dot(a, a)); }

// Unit vector along a; a zero vector stays zero.
inline Vec3 Normalize(const Vec3& a) {
  float len = Length(a);
  return len > 0.0f ? a / len : Vec3();
}

// Row-vector 3x3 rotation: v' = v * M.
struct Mat3 {
  float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

  static Mat3 RotationX(float a) { return Rotation(1, 2, a); }
  static Mat3 RotationY(float a) { return Rotation(2, 0, a); }
  static Mat3 RotationZ(float a) { return Rotation(0, 1, a); }

  // Rotation by a in the plane of axes i and j, turning i towards j.
  static Mat3 Rotation(int i, int j, float a) {
    Mat3 r;
    float c = std::cos(a), s = std::sin(a);
    r.m[i][i] = c; r.m[i][j] = s;
    r.m[j][i] = -s; r.m[j][j] = c;
    return r;
  }
};

inline Mat3 operator*(const Mat3& a, const Mat3& b) {
  Mat3 r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
  return r;
}

inline Vec3 Transform(const Vec3& v, const Mat3& m) {
  return {v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0],
          v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1],
          v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2]};
}

constexpr float kPi = 3.14159265358979f;

}  // namespace aimath
