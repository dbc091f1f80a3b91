#pragma once
// Comparisons and seeded random inputs shared by the math tests.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "math/math.h"

namespace brontal::test {

inline void ExpectVectorNear(const Vector3& actual, const Vector3& expected, float tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void ExpectQuaternionNear(const Quaternion& actual, const Quaternion& expected,
                                 float tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
    EXPECT_NEAR(actual.w, expected.w, tolerance);
}

inline void ExpectMatrixNear(const Matrix4x4& actual, const Matrix4x4& expected, float tolerance) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(actual.m[r][c], expected.m[r][c], tolerance) << "element [" << r << "][" << c << "]";
        }
    }
}

// Bit-for-bit equality, for results that must not depend on whether the output aliases an input.
inline bool SameBits(const Matrix4x4& a, const Matrix4x4& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The plain product of the row (x, y, z, 1) and m, without the divide by w.
inline Vector3 RowTimesMatrix(const Vector3& p, const Matrix4x4& m) {
    Vector3 r;
    r.x = p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0];
    r.y = p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1];
    r.z = p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2];
    return r;
}

class RandomInputs {
public:
    explicit RandomInputs(unsigned seed) : engine_(seed) {}

    float Uniform(float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(engine_);
    }

    Vector3 Vector(float extent) {
        return Vector3{Uniform(-extent, extent), Uniform(-extent, extent), Uniform(-extent, extent)};
    }

    // A direction of length well above zero (not normalised).
    Vector3 Axis() {
        for (;;) {
            const Vector3 v = Vector(1.0f);
            if (v.x * v.x + v.y * v.y + v.z * v.z > 0.05f) return v;
        }
    }

    Quaternion UnitQuaternion() {
        const Vector3 axis = Axis();
        Quaternion q;
        QuaternionRotationAxis(&q, &axis, Uniform(-kPi, kPi));
        return q;
    }

    Matrix4x4 Matrix(float extent) {
        Matrix4x4 m;
        for (auto& row : m.m)
            for (float& e : row) e = Uniform(-extent, extent);
        return m;
    }

private:
    std::mt19937 engine_;
};

}  // namespace brontal::test
