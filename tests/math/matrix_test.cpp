// Matrix construction and product: the row-vector convention, the rotation senses, in-place
// products and the projection's depth range.
#include "math_test_support.h"

namespace brontal {
namespace {

using test::ExpectMatrixNear;
using test::ExpectVectorNear;

Matrix4x4 SeparateProduct(const Matrix4x4& a, const Matrix4x4& b) {
    Matrix4x4 r;
    MatrixMultiply(&r, &a, &b);
    return r;
}

TEST(MatrixMultiply, ProductOfTheInputsAsTheyWereWhenOutAliases) {
    test::RandomInputs random(21);
    for (int i = 0; i < 50; ++i) {
        const Matrix4x4 a = random.Matrix(2.0f), b = random.Matrix(2.0f);

        Matrix4x4 square = a;
        MatrixMultiply(&square, &square, &square);
        EXPECT_TRUE(test::SameBits(square, SeparateProduct(a, a)));

        Matrix4x4 outIsA = a;
        MatrixMultiply(&outIsA, &outIsA, &b);
        EXPECT_TRUE(test::SameBits(outIsA, SeparateProduct(a, b)));

        Matrix4x4 outIsB = b;
        MatrixMultiply(&outIsB, &a, &outIsB);
        EXPECT_TRUE(test::SameBits(outIsB, SeparateProduct(a, b)));
    }
}

TEST(MatrixConvention, FirstAppliedIsLeftmost) {
    // Scale by 2 then move by (5, 0, 0) is S * T: (1, 0, 0) goes to (7, 0, 0).
    Matrix4x4 s, t;
    MatrixScaling(&s, 2.0f, 2.0f, 2.0f);
    MatrixTranslation(&t, 5.0f, 0.0f, 0.0f);
    EXPECT_EQ(t.m[3][0], 5.0f);
    EXPECT_EQ(t.m[0][3], 0.0f);
    const Vector3 p{1.0f, 0.0f, 0.0f};
    Vector3 out;
    Matrix4x4 st = SeparateProduct(s, t);
    ExpectVectorNear(*Vec3TransformCoord(&out, &p, &st), Vector3{7.0f, 0.0f, 0.0f}, 0.0f);
    Matrix4x4 ts = SeparateProduct(t, s);
    ExpectVectorNear(*Vec3TransformCoord(&out, &p, &ts), Vector3{12.0f, 0.0f, 0.0f}, 0.0f);
}

TEST(MatrixRotation, QuarterTurnsFollowTheLeftHandedSenses) {
    const float quarter = kPi / 2.0f;
    Matrix4x4 r;
    Vector3 out;

    const Vector3 y{0.0f, 1.0f, 0.0f};
    MatrixRotationX(&r, quarter);
    ExpectVectorNear(*Vec3TransformCoord(&out, &y, &r), Vector3{0.0f, 0.0f, 1.0f}, 1e-6f);

    const Vector3 z{0.0f, 0.0f, 1.0f};
    MatrixRotationY(&r, quarter);
    ExpectVectorNear(*Vec3TransformCoord(&out, &z, &r), Vector3{1.0f, 0.0f, 0.0f}, 1e-6f);

    const Vector3 x{1.0f, 0.0f, 0.0f};
    MatrixRotationZ(&r, quarter);
    ExpectVectorNear(*Vec3TransformCoord(&out, &x, &r), Vector3{0.0f, 1.0f, 0.0f}, 1e-6f);
}

TEST(MatrixRotationAxis, AgreesWithTheAxisRotationsAndNormalisesTheAxis) {
    test::RandomInputs random(22);
    for (int i = 0; i < 50; ++i) {
        const float angle = random.Uniform(-2.0f * kPi, 2.0f * kPi);
        Matrix4x4 expected, actual;
        // Axis lengths other than 1 must give the same matrix.
        const Vector3 xAxis{3.0f, 0.0f, 0.0f}, yAxis{0.0f, 0.5f, 0.0f}, zAxis{0.0f, 0.0f, 7.0f};
        MatrixRotationX(&expected, angle);
        ExpectMatrixNear(*MatrixRotationAxis(&actual, &xAxis, angle), expected, 1e-6f);
        MatrixRotationY(&expected, angle);
        ExpectMatrixNear(*MatrixRotationAxis(&actual, &yAxis, angle), expected, 1e-6f);
        MatrixRotationZ(&expected, angle);
        ExpectMatrixNear(*MatrixRotationAxis(&actual, &zAxis, angle), expected, 1e-6f);
    }
}

TEST(MatrixRotationAxis, KeepsTheAxisAndIsOrthonormal) {
    test::RandomInputs random(23);
    for (int i = 0; i < 50; ++i) {
        const Vector3 axis = random.Axis();
        Matrix4x4 r;
        MatrixRotationAxis(&r, &axis, random.Uniform(-kPi, kPi));
        Vector3 turned;
        ExpectVectorNear(*Vec3TransformCoord(&turned, &axis, &r), axis, 1e-5f);
        Matrix4x4 transposed;
        for (int a = 0; a < 4; ++a)
            for (int b = 0; b < 4; ++b) transposed.m[a][b] = r.m[b][a];
        Matrix4x4 identity;
        MatrixIdentity(&identity);
        ExpectMatrixNear(SeparateProduct(r, transposed), identity, 1e-5f);
    }
}

TEST(MatrixRotationQuaternion, AgreesWithMatrixRotationAxis) {
    test::RandomInputs random(24);
    for (int i = 0; i < 100; ++i) {
        const Vector3 axis = random.Axis();
        const float angle = random.Uniform(-kPi, kPi);
        Quaternion q;
        QuaternionRotationAxis(&q, &axis, angle);
        Matrix4x4 fromQuaternion, fromAxis;
        MatrixRotationQuaternion(&fromQuaternion, &q);
        MatrixRotationAxis(&fromAxis, &axis, angle);
        ExpectMatrixNear(fromQuaternion, fromAxis, 2e-6f);
    }
}

TEST(MatrixPerspectiveFovLH, MapsNearToZeroAndFarToOne) {
    Matrix4x4 p;
    MatrixPerspectiveFovLH(&p, kPi / 4.0f, 640.0f / 480.0f, 1.0f, 7500.0f);
    const float yScale = 1.0f / std::tan(kPi / 8.0f);
    EXPECT_NEAR(p.m[1][1], yScale, 1e-5f);
    EXPECT_NEAR(p.m[0][0], yScale * 0.75f, 1e-5f);
    EXPECT_EQ(p.m[2][3], 1.0f);
    EXPECT_EQ(p.m[3][3], 0.0f);
    EXPECT_EQ(p.m[3][0], 0.0f);

    // The game's depth range: the view-space depths zNear and zFar land on 0 and 1.
    const Vector3 nearPoint{0.0f, 0.0f, 1.0f}, farPoint{0.0f, 0.0f, 7500.0f};
    Vector3 out;
    EXPECT_NEAR(Vec3TransformCoord(&out, &nearPoint, &p)->z, 0.0f, 1e-6f);
    EXPECT_NEAR(Vec3TransformCoord(&out, &farPoint, &p)->z, 1.0f, 1e-6f);

    // A point on the top edge of the field of view lands on y = 1.
    const Vector3 topEdge{0.0f, std::tan(kPi / 8.0f) * 100.0f, 100.0f};
    EXPECT_NEAR(Vec3TransformCoord(&out, &topEdge, &p)->y, 1.0f, 1e-5f);
}

}  // namespace
}  // namespace brontal
