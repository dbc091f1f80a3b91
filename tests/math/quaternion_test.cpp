// Quaternions: construction from an axis and from yaw, pitch and roll, and the slerp's ends,
// shorter arc and linear fallback.
#include "math_test_support.h"

namespace brontal {
namespace {

using test::ExpectMatrixNear;
using test::ExpectQuaternionNear;

Quaternion Negated(const Quaternion& q) {
    return Quaternion{-q.x, -q.y, -q.z, -q.w};
}

float Dot(const Quaternion& a, const Quaternion& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}

TEST(QuaternionRotationAxis, HalfAngleAboutTheNormalisedAxis) {
    Quaternion q;
    QuaternionIdentity(&q);
    ExpectQuaternionNear(q, Quaternion{0.0f, 0.0f, 0.0f, 1.0f}, 0.0f);

    const Vector3 longAxis{0.0f, 0.0f, 10.0f};
    QuaternionRotationAxis(&q, &longAxis, kPi / 2.0f);
    const float h = std::sqrt(0.5f);
    ExpectQuaternionNear(q, Quaternion{0.0f, 0.0f, h, h}, 1e-6f);
}

TEST(QuaternionRotationYawPitchRoll, SingleAnglesMatchTheirAxes) {
    const Vector3 yAxis{0.0f, 1.0f, 0.0f}, xAxis{1.0f, 0.0f, 0.0f}, zAxis{0.0f, 0.0f, 1.0f};
    test::RandomInputs random(41);
    for (int i = 0; i < 50; ++i) {
        const float angle = random.Uniform(-2.0f * kPi, 2.0f * kPi);
        Quaternion ypr, axis;
        QuaternionRotationYawPitchRoll(&ypr, angle, 0.0f, 0.0f);
        ExpectQuaternionNear(ypr, *QuaternionRotationAxis(&axis, &yAxis, angle), 1e-6f);
        QuaternionRotationYawPitchRoll(&ypr, 0.0f, angle, 0.0f);
        ExpectQuaternionNear(ypr, *QuaternionRotationAxis(&axis, &xAxis, angle), 1e-6f);
        QuaternionRotationYawPitchRoll(&ypr, 0.0f, 0.0f, angle);
        ExpectQuaternionNear(ypr, *QuaternionRotationAxis(&axis, &zAxis, angle), 1e-6f);
    }
}

TEST(QuaternionRotationYawPitchRoll, RollsThenPitchesThenYaws) {
    test::RandomInputs random(42);
    for (int i = 0; i < 50; ++i) {
        const float yaw = random.Uniform(-kPi, kPi);
        const float pitch = random.Uniform(-kPi, kPi);
        const float roll = random.Uniform(-kPi, kPi);
        Quaternion q;
        QuaternionRotationYawPitchRoll(&q, yaw, pitch, roll);
        EXPECT_NEAR(Dot(q, q), 1.0f, 1e-5f);
        Matrix4x4 combined, rz, rx, ry, expected;
        MatrixRotationQuaternion(&combined, &q);
        MatrixRotationZ(&rz, roll);
        MatrixRotationX(&rx, pitch);
        MatrixRotationY(&ry, yaw);
        MatrixMultiply(&expected, &rz, &rx);
        MatrixMultiply(&expected, &expected, &ry);
        ExpectMatrixNear(combined, expected, 1e-5f);
    }
}

TEST(QuaternionSlerp, EndsAreTheInputsWithTheShorterArcSign) {
    test::RandomInputs random(43);
    for (int i = 0; i < 200; ++i) {
        const Quaternion q1 = random.UnitQuaternion();
        const Quaternion q2 = random.UnitQuaternion();
        const Quaternion target = Dot(q1, q2) < 0.0f ? Negated(q2) : q2;
        Quaternion out;
        ExpectQuaternionNear(*QuaternionSlerp(&out, &q1, &q2, 0.0f), q1, 1e-5f);
        ExpectQuaternionNear(*QuaternionSlerp(&out, &q1, &q2, 1.0f), target, 1e-5f);
        // Midway stays on the shorter arc: nearer to both ends than the ends are to each other.
        QuaternionSlerp(&out, &q1, &q2, 0.5f);
        EXPECT_GE(Dot(out, q1), Dot(q1, target) - 1e-5f);
        EXPECT_GE(Dot(out, target), Dot(q1, target) - 1e-5f);
        EXPECT_NEAR(Dot(out, out), 1.0f, 1e-4f);
    }
}

TEST(QuaternionSlerp, OfQAndMinusQIsQ) {
    test::RandomInputs random(44);
    for (int i = 0; i < 50; ++i) {
        const Quaternion q = random.UnitQuaternion();
        const Quaternion minusQ = Negated(q);
        for (float t : {0.0f, 0.1f, 0.5f, 0.9f, 1.0f}) {
            Quaternion out;
            ExpectQuaternionNear(*QuaternionSlerp(&out, &q, &minusQ, t), q, 1e-6f);
        }
    }
}

TEST(QuaternionSlerp, InterpolatesTheAngle) {
    const Vector3 yAxis{0.0f, 1.0f, 0.0f};
    Quaternion identity, quarter, eighth, out;
    QuaternionIdentity(&identity);
    QuaternionRotationAxis(&quarter, &yAxis, kPi / 2.0f);
    QuaternionRotationAxis(&eighth, &yAxis, kPi / 8.0f);
    ExpectQuaternionNear(*QuaternionSlerp(&out, &identity, &quarter, 0.25f), eighth, 1e-6f);

    // Past a half turn apart the sign flip goes the short way: from +170 to -170 degrees about y
    // passes 180, not 0.
    Quaternion plus170, minus170, half;
    QuaternionRotationAxis(&plus170, &yAxis, kPi * 170.0f / 180.0f);
    QuaternionRotationAxis(&minus170, &yAxis, -kPi * 170.0f / 180.0f);
    QuaternionRotationAxis(&half, &yAxis, kPi);
    QuaternionSlerp(&out, &plus170, &minus170, 0.5f);
    EXPECT_NEAR(std::fabs(Dot(out, half)), 1.0f, 1e-5f);
}

TEST(QuaternionSlerp, NearlyEqualInputsUseLinearWeights) {
    // 1 - cos(angle) is far below the threshold here, so the weights are 1 - t and t.
    const Quaternion q1{0.0f, 0.0f, 0.0f, 1.0f};
    const Quaternion q2{0.001f, 0.0f, 0.0f, 0.9999995f};
    const float t = 0.3f;
    Quaternion out;
    QuaternionSlerp(&out, &q1, &q2, t);
    EXPECT_EQ(out.x, (1.0f - t) * q1.x + t * q2.x);
    EXPECT_EQ(out.w, (1.0f - t) * q1.w + t * q2.w);

    // Equal inputs must not divide by a zero sine.
    QuaternionSlerp(&out, &q1, &q1, 0.7f);
    ExpectQuaternionNear(out, q1, 1e-7f);
}

TEST(QuaternionSlerp, InPlaceEqualsSeparateStorage) {
    test::RandomInputs random(45);
    for (int i = 0; i < 50; ++i) {
        const Quaternion q1 = random.UnitQuaternion(), q2 = random.UnitQuaternion();
        const float t = random.Uniform(0.0f, 1.0f);
        Quaternion separate;
        QuaternionSlerp(&separate, &q1, &q2, t);
        Quaternion first = q1;
        QuaternionSlerp(&first, &first, &q2, t);
        EXPECT_EQ(std::memcmp(&first, &separate, sizeof first), 0);
        Quaternion second = q2;
        QuaternionSlerp(&second, &q1, &second, t);
        EXPECT_EQ(std::memcmp(&second, &separate, sizeof second), 0);
    }
}

}  // namespace
}  // namespace brontal
