#pragma once
// The game's math records. Matrices are stored row after row and points are row vectors
// multiplied on the left: p' = p * M, so the translation sits in row 3 and "A then B" is A * B.
// Left-handed, y up, angles in radians. All values are 32-bit floats.

#include <cstdint>

namespace brontal {

struct Vector2 {
    float x, y;
};

struct Vector3 {
    float x, y, z;
};

struct Quaternion {
    float x, y, z, w;  // w is the scalar part
};

struct Plane {
    float a, b, c, d;  // a*x + b*y + c*z + d = 0; (a, b, c) is the normal
};

struct Matrix4x4 {
    float m[4][4];  // m[row][column]
};

static_assert(sizeof(Vector3) == 12);
static_assert(sizeof(Quaternion) == 16);
static_assert(sizeof(Plane) == 16);
static_assert(sizeof(Matrix4x4) == 64);

// Squared lengths within this of 1 count as unit length and are left as they are.
inline constexpr float kUnitLengthTolerance = 1e-5f;
// Squared lengths at or below this count as zero.
inline constexpr float kZeroLengthThreshold = 1e-10f;
// Slerp falls back to linear weights when 1 - cos(angle) is not above this.
inline constexpr float kSlerpLinearThreshold = 1e-5f;

inline constexpr float kPi = 3.14159265358979323846f;

// Result codes, the same numbers as the graphics device's (D3D_OK, D3DERR_INVALIDCALL).
using ResultCode = std::int32_t;
inline constexpr ResultCode kResultOk = 0;
inline constexpr ResultCode kResultInvalidCall = static_cast<ResultCode>(0x8876086Cu);

}  // namespace brontal
