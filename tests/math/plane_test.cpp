// Planes: the distance of a point and the normalisation cases.
#include "math_test_support.h"

namespace brontal {
namespace {

void ExpectPlane(const Plane& p, float a, float b, float c, float d, float tolerance) {
    EXPECT_NEAR(p.a, a, tolerance);
    EXPECT_NEAR(p.b, b, tolerance);
    EXPECT_NEAR(p.c, c, tolerance);
    EXPECT_NEAR(p.d, d, tolerance);
}

TEST(PlaneDotCoord, SignedDistanceForAUnitNormal) {
    const Plane floor{0.0f, 1.0f, 0.0f, -10.0f};  // y = 10
    const Vector3 above{3.0f, 15.0f, -2.0f}, below{0.0f, 4.0f, 0.0f};
    EXPECT_EQ(PlaneDotCoord(&floor, &above), 5.0f);
    EXPECT_EQ(PlaneDotCoord(&floor, &below), -6.0f);
    const Plane slanted{1.0f, 2.0f, 3.0f, 4.0f};
    const Vector3 p{1.0f, 1.0f, 1.0f};
    EXPECT_EQ(PlaneDotCoord(&slanted, &p), 10.0f);
}

TEST(PlaneNormalize, ScalesAllFourOrZeroes) {
    Plane out;
    const Plane doubled{0.0f, 0.0f, 2.0f, 4.0f};
    ExpectPlane(*PlaneNormalize(&out, &doubled), 0.0f, 0.0f, 1.0f, 2.0f, 0.0f);

    // No normal: all four become zero, d included.
    const Plane noNormal{0.0f, 0.0f, 0.0f, 5.0f};
    ExpectPlane(*PlaneNormalize(&out, &noNormal), 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);

    // Nearly unit normal: left exactly as it is, d included.
    const Plane nearlyUnit{0.0f, 1.000004f, 0.0f, 3.3f};
    PlaneNormalize(&out, &nearlyUnit);
    EXPECT_EQ(out.b, nearlyUnit.b);
    EXPECT_EQ(out.d, nearlyUnit.d);

    // The distance of a point is kept by scaling d with the normal.
    Plane p{3.0f, 0.0f, 4.0f, -10.0f};
    PlaneNormalize(&p, &p);
    ExpectPlane(p, 0.6f, 0.0f, 0.8f, -2.0f, 1e-6f);
    const Vector3 onPlane{2.0f, 7.0f, 1.0f};
    EXPECT_NEAR(PlaneDotCoord(&p, &onPlane), 0.0f, 1e-6f);
}

}  // namespace
}  // namespace brontal
