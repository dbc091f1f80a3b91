#pragma once
// Vector arithmetic by value, for code that builds and tests geometry (the level tools). The
// game's own code uses the pointer-style functions of vector3.h; these are the same arithmetic in
// the same order of operations, so a result does not depend on which form computed it.
#include <cmath>

#include "math/types.h"

namespace brontal {

constexpr Vector3 Add(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
constexpr Vector3 Sub(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
constexpr Vector3 Scale(const Vector3& a, float s) { return {a.x * s, a.y * s, a.z * s}; }
constexpr float Dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float Length(const Vector3& v) { return std::sqrt(Dot(v, v)); }

}  // namespace brontal
