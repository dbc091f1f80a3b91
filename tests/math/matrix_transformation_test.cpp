// The composite transformation: each optional part on its own, the fixed points of the scaling
// and rotation centres, and the game's use with all six arguments.
#include "math_test_support.h"

namespace brontal {
namespace {

using test::ExpectMatrixNear;
using test::ExpectVectorNear;

Matrix4x4 Product(std::initializer_list<Matrix4x4> factors) {
    Matrix4x4 r;
    MatrixIdentity(&r);
    for (const Matrix4x4& f : factors) MatrixMultiply(&r, &r, &f);
    return r;
}

Matrix4x4 Translation(const Vector3& v) {
    Matrix4x4 t;
    MatrixTranslation(&t, v.x, v.y, v.z);
    return t;
}

Matrix4x4 FromQuaternion(const Quaternion& q) {
    Matrix4x4 r;
    MatrixRotationQuaternion(&r, &q);
    return r;
}

Matrix4x4 Transposed(const Matrix4x4& m) {
    Matrix4x4 t;
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b) t.m[a][b] = m.m[b][a];
    return t;
}

TEST(MatrixTransformation, NothingGivenIsIdentity) {
    test::RandomInputs random(51);
    Matrix4x4 out = random.Matrix(5.0f), identity;
    MatrixIdentity(&identity);
    MatrixTransformation(&out, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(test::SameBits(out, identity));

    // A scaling frame or centre without a scaling does nothing.
    const Vector3 centre{1.0f, 2.0f, 3.0f};
    const Quaternion frame = random.UnitQuaternion();
    MatrixTransformation(&out, &centre, &frame, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(test::SameBits(out, identity));
}

TEST(MatrixTransformation, PlainScalingIgnoresTheCentre) {
    const Vector3 scaling{2.0f, 3.0f, 4.0f}, centre{10.0f, 10.0f, 10.0f};
    Matrix4x4 out, expected;
    MatrixScaling(&expected, 2.0f, 3.0f, 4.0f);
    MatrixTransformation(&out, &centre, nullptr, &scaling, nullptr, nullptr, nullptr);
    EXPECT_TRUE(test::SameBits(out, expected));
}

TEST(MatrixTransformation, ScalingInAFrameAboutACentre) {
    test::RandomInputs random(52);
    for (int i = 0; i < 50; ++i) {
        const Vector3 centre = random.Vector(20.0f);
        const Vector3 scaling{random.Uniform(0.5f, 3.0f), random.Uniform(0.5f, 3.0f),
                              random.Uniform(0.5f, 3.0f)};
        const Quaternion frame = random.UnitQuaternion();
        Matrix4x4 s;
        MatrixScaling(&s, scaling.x, scaling.y, scaling.z);
        const Matrix4x4 rs = FromQuaternion(frame);
        const Vector3 minusCentre{-centre.x, -centre.y, -centre.z};

        Matrix4x4 out;
        MatrixTransformation(&out, &centre, &frame, &scaling, nullptr, nullptr, nullptr);
        ExpectMatrixNear(out, Product({Translation(minusCentre), Transposed(rs), s, rs,
                                       Translation(centre)}),
                         1e-5f);
        // The centre stays where it is.
        Vector3 moved;
        ExpectVectorNear(*Vec3TransformCoord(&moved, &centre, &out), centre, 1e-4f);

        MatrixTransformation(&out, nullptr, &frame, &scaling, nullptr, nullptr, nullptr);
        ExpectMatrixNear(out, Product({Transposed(rs), s, rs}), 1e-6f);
    }
}

TEST(MatrixTransformation, RotationAboutACentre) {
    test::RandomInputs random(53);
    for (int i = 0; i < 50; ++i) {
        const Vector3 centre = random.Vector(20.0f);
        const Quaternion rotation = random.UnitQuaternion();
        const Vector3 minusCentre{-centre.x, -centre.y, -centre.z};
        Matrix4x4 out;
        MatrixTransformation(&out, nullptr, nullptr, nullptr, &centre, &rotation, nullptr);
        ExpectMatrixNear(out,
                         Product({Translation(minusCentre), FromQuaternion(rotation),
                                  Translation(centre)}),
                         1e-5f);
        Vector3 moved;
        ExpectVectorNear(*Vec3TransformCoord(&moved, &centre, &out), centre, 1e-4f);

        MatrixTransformation(&out, nullptr, nullptr, nullptr, nullptr, &rotation, nullptr);
        EXPECT_TRUE(test::SameBits(out, FromQuaternion(rotation)));
    }
}

TEST(MatrixTransformation, AllSixScaleThenRotateThenTranslate) {
    // As the figure is placed: unit scaling in the identity frame about the origin, a rotation
    // about the origin, then the position.
    test::RandomInputs random(54);
    const Vector3 zero{0.0f, 0.0f, 0.0f};
    Quaternion noFrame;
    QuaternionIdentity(&noFrame);
    for (int i = 0; i < 50; ++i) {
        const Vector3 scaling{random.Uniform(0.5f, 2.0f), random.Uniform(0.5f, 2.0f),
                              random.Uniform(0.5f, 2.0f)};
        const Quaternion rotation = random.UnitQuaternion();
        const Vector3 position = random.Vector(1000.0f);
        Matrix4x4 out, s;
        MatrixTransformation(&out, &zero, &noFrame, &scaling, &zero, &rotation, &position);
        MatrixScaling(&s, scaling.x, scaling.y, scaling.z);
        ExpectMatrixNear(out, Product({s, FromQuaternion(rotation), Translation(position)}), 1e-4f);
        EXPECT_EQ(out.m[0][3], 0.0f);
        EXPECT_EQ(out.m[3][3], 1.0f);
    }
}

}  // namespace
}  // namespace brontal
