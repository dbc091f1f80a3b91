// The cofactor inverse: round trips over random matrices, failure that leaves the output alone,
// the determinant report and in-place use.
#include "math_test_support.h"

namespace brontal {
namespace {

using test::ExpectMatrixNear;

Matrix4x4 Identity() {
    Matrix4x4 m;
    MatrixIdentity(&m);
    return m;
}

TEST(MatrixInverse, TimesTheInputGivesIdentity) {
    test::RandomInputs random(31);
    for (int i = 0; i < 200; ++i) {
        // General matrices kept well away from singular by a strong diagonal.
        Matrix4x4 m = random.Matrix(1.0f);
        for (int d = 0; d < 4; ++d) m.m[d][d] += (d % 2 == 0) ? 4.0f : -4.0f;
        Matrix4x4 inverse;
        ASSERT_EQ(MatrixInverse(&inverse, nullptr, &m), &inverse);
        Matrix4x4 product;
        ExpectMatrixNear(*MatrixMultiply(&product, &m, &inverse), Identity(), 1e-5f);
        ExpectMatrixNear(*MatrixMultiply(&product, &inverse, &m), Identity(), 1e-5f);
    }
}

TEST(MatrixInverse, UndoesAWorldTransform) {
    test::RandomInputs random(32);
    for (int i = 0; i < 100; ++i) {
        const Vector3 axis = random.Axis();
        Matrix4x4 s, r, t, world;
        MatrixScaling(&s, random.Uniform(0.5f, 3.0f), random.Uniform(0.5f, 3.0f),
                      random.Uniform(0.5f, 3.0f));
        MatrixRotationAxis(&r, &axis, random.Uniform(-kPi, kPi));
        MatrixTranslation(&t, random.Uniform(-500.0f, 500.0f), random.Uniform(-500.0f, 500.0f),
                          random.Uniform(-500.0f, 500.0f));
        MatrixMultiply(&world, &s, &r);
        MatrixMultiply(&world, &world, &t);
        Matrix4x4 inverse;
        ASSERT_NE(MatrixInverse(&inverse, nullptr, &world), nullptr);
        const Vector3 p = random.Vector(100.0f);
        Vector3 there, back;
        Vec3TransformCoord(&there, &p, &world);
        Vec3TransformCoord(&back, &there, &inverse);
        test::ExpectVectorNear(back, p, 1e-2f);
    }
}

TEST(MatrixInverse, ReportsTheDeterminant) {
    Matrix4x4 m;
    MatrixScaling(&m, 2.0f, 3.0f, 4.0f);
    m.m[3][0] = 9.0f;  // translation does not change the determinant
    float det = 0.0f;
    Matrix4x4 inverse;
    ASSERT_NE(MatrixInverse(&inverse, &det, &m), nullptr);
    EXPECT_EQ(det, 24.0f);
    EXPECT_NEAR(inverse.m[0][0], 0.5f, 1e-7f);
    EXPECT_NEAR(inverse.m[3][0], -4.5f, 1e-6f);

    // Swapping two rows flips the sign.
    std::swap(m.m[0], m.m[1]);
    ASSERT_NE(MatrixInverse(&inverse, &det, &m), nullptr);
    EXPECT_EQ(det, -24.0f);
}

TEST(MatrixInverse, SingularFailsAndLeavesTheOutputAlone) {
    Matrix4x4 zeroRow;
    MatrixTranslation(&zeroRow, 1.0f, 2.0f, 3.0f);
    zeroRow.m[1][0] = zeroRow.m[1][1] = zeroRow.m[1][2] = zeroRow.m[1][3] = 0.0f;

    test::RandomInputs random(33);
    const Matrix4x4 before = random.Matrix(5.0f);
    Matrix4x4 out = before;
    float det = 123.0f;
    EXPECT_EQ(MatrixInverse(&out, &det, &zeroRow), nullptr);
    EXPECT_EQ(det, 0.0f);  // stored even though the inverse fails
    EXPECT_TRUE(test::SameBits(out, before));

    // Two equal rows. Small whole numbers keep every minor exact, so det is exactly 0 (with
    // arbitrary floats rounding can leave a tiny nonzero det, which then inverts).
    Matrix4x4 equalRows;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) equalRows.m[r][c] = static_cast<float>((r * 7 + c * 3) % 5 - 2);
    std::memcpy(equalRows.m[2], equalRows.m[0], sizeof equalRows.m[0]);
    EXPECT_EQ(MatrixInverse(&out, nullptr, &equalRows), nullptr);
    EXPECT_TRUE(test::SameBits(out, before));
}

TEST(MatrixInverse, FailsWhenOneOverTheDeterminantOverflows) {
    // det = 1e-40 is a nonzero subnormal, but 1/det is beyond the float range.
    Matrix4x4 m;
    MatrixScaling(&m, 1e-20f, 1e-20f, 1.0f);
    Matrix4x4 out = Identity();
    float det = 0.0f;
    EXPECT_EQ(MatrixInverse(&out, &det, &m), nullptr);
    EXPECT_GT(det, 0.0f);
    EXPECT_TRUE(test::SameBits(out, Identity()));

    // Not-a-number input fails too rather than writing NaNs.
    m = Identity();
    m.m[2][2] = std::nanf("");
    EXPECT_EQ(MatrixInverse(&out, nullptr, &m), nullptr);
    EXPECT_TRUE(test::SameBits(out, Identity()));
}

TEST(MatrixInverse, InPlaceEqualsSeparateStorage) {
    test::RandomInputs random(34);
    for (int i = 0; i < 50; ++i) {
        Matrix4x4 m = random.Matrix(1.0f);
        for (int d = 0; d < 4; ++d) m.m[d][d] += 3.0f;
        Matrix4x4 separate;
        ASSERT_NE(MatrixInverse(&separate, nullptr, &m), nullptr);
        Matrix4x4 inPlace = m;
        ASSERT_EQ(MatrixInverse(&inPlace, nullptr, &inPlace), &inPlace);
        EXPECT_TRUE(test::SameBits(inPlace, separate));
    }
}

}  // namespace
}  // namespace brontal
