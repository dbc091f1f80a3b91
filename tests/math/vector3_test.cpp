// Vector operations: the normalisation cases, the transform of a point, and in-place use.
#include "math_test_support.h"

namespace brontal {
namespace {

using test::ExpectVectorNear;

TEST(Vec3Normalize, ZeroAndNearZeroBecomeZero) {
    Vector3 out{7.0f, 7.0f, 7.0f};
    const Vector3 zero{0.0f, 0.0f, 0.0f};
    Vec3Normalize(&out, &zero);
    ExpectVectorNear(out, zero, 0.0f);

    // Squared length 1e-12: below the zero threshold, so no huge 1/sqrt scale is applied.
    const Vector3 tiny{1e-6f, 0.0f, 0.0f};
    Vec3Normalize(&out, &tiny);
    ExpectVectorNear(out, zero, 0.0f);

    // Squared length 4e-10: above the threshold, scaled up to unit length.
    const Vector3 small{2e-5f, 0.0f, 0.0f};
    Vec3Normalize(&out, &small);
    ExpectVectorNear(out, Vector3{1.0f, 0.0f, 0.0f}, 1e-6f);
}

TEST(Vec3Normalize, NearlyUnitIsLeftExactlyAsIs) {
    // Squared length 1 + 8e-6: counts as unit length, so not a single bit changes.
    const Vector3 nearlyUnit{1.000004f, 0.0f, 0.0f};
    Vector3 out;
    Vec3Normalize(&out, &nearlyUnit);
    EXPECT_EQ(out.x, nearlyUnit.x);

    // Squared length 1 + 4e-5: outside the tolerance, so it is scaled.
    const Vector3 offUnit{1.00002f, 0.0f, 0.0f};
    Vec3Normalize(&out, &offUnit);
    EXPECT_NE(out.x, offUnit.x);
    EXPECT_NEAR(out.x, 1.0f, 1e-6f);

    // Squared length 1 - 8e-6 from the other side.
    const Vector3 shortOfUnit{0.0f, 0.999996f, 0.0f};
    Vec3Normalize(&out, &shortOfUnit);
    EXPECT_EQ(out.y, shortOfUnit.y);
}

TEST(Vec3Normalize, ScalesToUnitLengthInPlace) {
    Vector3 v{3.0f, 0.0f, 4.0f};
    Vec3Normalize(&v, &v);
    ExpectVectorNear(v, Vector3{0.6f, 0.0f, 0.8f}, 1e-6f);

    test::RandomInputs random(11);
    for (int i = 0; i < 200; ++i) {
        const Vector3 in = random.Vector(100.0f);
        Vector3 separate;
        Vec3Normalize(&separate, &in);
        Vector3 inPlace = in;
        Vec3Normalize(&inPlace, &inPlace);
        EXPECT_EQ(std::memcmp(&separate, &inPlace, sizeof separate), 0);
        EXPECT_NEAR(Vec3Length(separate.x, separate.y, separate.z), 1.0f, 1e-5f);
        // Same direction as the input.
        EXPECT_GT(Vec3Dot(&separate, &in), 0.0f);
    }
}

TEST(Vec3Arithmetic, ComponentWiseAndSafeInPlace) {
    Vector3 a{1.0f, 2.0f, 3.0f};
    const Vector3 b{10.0f, 20.0f, 30.0f};
    Vector3 out;
    ExpectVectorNear(*Vec3Add(&out, &a, &b), Vector3{11.0f, 22.0f, 33.0f}, 0.0f);
    ExpectVectorNear(*Vec3Subtract(&out, &a, &b), Vector3{-9.0f, -18.0f, -27.0f}, 0.0f);
    ExpectVectorNear(*Vec3Scale(&out, &b, 0.5f), Vector3{5.0f, 10.0f, 15.0f}, 0.0f);
    EXPECT_EQ(Vec3Dot(&a, &b), 140.0f);

    Vec3Add(&a, &a, &a);
    ExpectVectorNear(a, Vector3{2.0f, 4.0f, 6.0f}, 0.0f);
    Vec3Subtract(&a, &b, &a);
    ExpectVectorNear(a, Vector3{8.0f, 16.0f, 24.0f}, 0.0f);
    Vec3Scale(&a, &a, 0.25f);
    ExpectVectorNear(a, Vector3{2.0f, 4.0f, 6.0f}, 0.0f);
}

TEST(Vec3Cross, LeftHandedBasisAndInPlace) {
    const Vector3 x{1.0f, 0.0f, 0.0f}, y{0.0f, 1.0f, 0.0f}, z{0.0f, 0.0f, 1.0f};
    Vector3 out;
    ExpectVectorNear(*Vec3Cross(&out, &x, &y), z, 0.0f);
    ExpectVectorNear(*Vec3Cross(&out, &y, &z), x, 0.0f);
    ExpectVectorNear(*Vec3Cross(&out, &y, &x), Vector3{0.0f, 0.0f, -1.0f}, 0.0f);

    // Each component reads the inputs' other components, so in-place use must not see
    // a half-written output.
    test::RandomInputs random(12);
    for (int i = 0; i < 50; ++i) {
        const Vector3 a = random.Vector(10.0f), b = random.Vector(10.0f);
        Vector3 expected;
        Vec3Cross(&expected, &a, &b);
        Vector3 first = a;
        Vec3Cross(&first, &first, &b);
        ExpectVectorNear(first, expected, 0.0f);
        Vector3 second = b;
        Vec3Cross(&second, &a, &second);
        ExpectVectorNear(second, expected, 0.0f);
        EXPECT_NEAR(Vec3Dot(&expected, &a), 0.0f, 1e-3f);
    }
}

TEST(Vec3Length, LengthAndDistance) {
    EXPECT_EQ(Vec3Length(3.0f, 4.0f, 12.0f), 13.0f);
    EXPECT_EQ(Vec3Length(0.0f, 0.0f, 0.0f), 0.0f);
    EXPECT_EQ(Vec3Distance(1.0f, 1.0f, 1.0f, 4.0f, 5.0f, 13.0f), 13.0f);
    EXPECT_EQ(Vec3Distance(4.0f, 5.0f, 13.0f, 1.0f, 1.0f, 1.0f), 13.0f);
}

TEST(Vec3Lerp, EndsMiddleAndInPlace) {
    const Vector3 a{0.0f, 10.0f, -4.0f};
    Vector3 b{8.0f, 20.0f, 4.0f};
    Vector3 out;
    ExpectVectorNear(*Vec3Lerp(&out, &a, &b, 0.0f), a, 0.0f);
    ExpectVectorNear(*Vec3Lerp(&out, &a, &b, 1.0f), b, 0.0f);
    ExpectVectorNear(*Vec3Lerp(&out, &a, &b, 0.25f), Vector3{2.0f, 12.5f, -2.0f}, 0.0f);
    Vec3Lerp(&b, &a, &b, 0.5f);
    ExpectVectorNear(b, Vector3{4.0f, 15.0f, 0.0f}, 0.0f);

    Vector2 p{1.0f, 2.0f};
    const Vector2 q{3.0f, -2.0f};
    Vec2Lerp(&p, &p, &q, 0.5f);
    EXPECT_EQ(p.x, 2.0f);
    EXPECT_EQ(p.y, 0.0f);
}

TEST(Vec3TransformCoord, AffineIsTheRowVectorProduct) {
    test::RandomInputs random(13);
    for (int i = 0; i < 50; ++i) {
        Matrix4x4 m = random.Matrix(3.0f);
        m.m[0][3] = m.m[1][3] = m.m[2][3] = 0.0f;
        m.m[3][3] = 1.0f;
        const Vector3 p = random.Vector(50.0f);
        Vector3 out;
        Vec3TransformCoord(&out, &p, &m);
        ExpectVectorNear(out, test::RowTimesMatrix(p, m), 0.0f);
        Vector3 inPlace = p;
        Vec3TransformCoord(&inPlace, &inPlace, &m);
        ExpectVectorNear(inPlace, out, 0.0f);
    }

    // The translation sits in row 3.
    Matrix4x4 t;
    MatrixTranslation(&t, 1.0f, 2.0f, 3.0f);
    const Vector3 origin{0.0f, 0.0f, 0.0f};
    Vector3 moved;
    ExpectVectorNear(*Vec3TransformCoord(&moved, &origin, &t), Vector3{1.0f, 2.0f, 3.0f}, 0.0f);
}

TEST(Vec3TransformCoord, DividesByW) {
    Matrix4x4 m;
    MatrixTranslation(&m, 2.0f, 4.0f, 6.0f);
    m.m[3][3] = 2.0f;  // W = 2
    const Vector3 p{2.0f, 4.0f, 6.0f};
    Vector3 out;
    Vec3TransformCoord(&out, &p, &m);
    ExpectVectorNear(out, Vector3{2.0f, 4.0f, 6.0f}, 1e-6f);

    // W within the tolerance of 1 is not divided by.
    m.m[3][3] = 1.000005f;
    Vec3TransformCoord(&out, &p, &m);
    ExpectVectorNear(out, Vector3{4.0f, 8.0f, 12.0f}, 0.0f);
}

}  // namespace
}  // namespace brontal
