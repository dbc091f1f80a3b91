// The sphere-against-triangle queries at the edges that decide whether the player is pushed.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/queries.h"

namespace brontal {
namespace {

constexpr double kPiD = 3.14159265358979323846;

void ExpectVector(const Vector3& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

TEST(TriangleNormal, CrossOrderIsThirdEdgeThenSecond) {
    ExpectVector(TriangleNormal({0, 0, 0}, {1, 0, 0}, {0, 0, 1}), 0, 1, 0);
    ExpectVector(TriangleNormal({0, 0, 0}, {0, 0, 1}, {1, 0, 0}), 0, -1, 0);
}

TEST(TriangleNormal, IsUnitLengthForLargeTriangles) {
    const Vector3 n = TriangleNormal({0, 0, 0}, {0, 300, 0}, {0, 0, 500});
    ExpectVector(n, -1, 0, 0);
}

TEST(TriangleNormal, DegenerateTriangleHasZeroNormal) {
    ExpectVector(TriangleNormal({0, 0, 0}, {1, 1, 1}, {2, 2, 2}), 0, 0, 0);
    ExpectVector(TriangleNormal({3, 3, 3}, {3, 3, 3}, {3, 3, 3}), 0, 0, 0);
}

TEST(PlaneConstant, IsNegatedDot) {
    EXPECT_FLOAT_EQ(PlaneConstant({0, 1, 0}, {7, 10, -3}), -10.0f);
    EXPECT_FLOAT_EQ(PlaneConstant({1, 0, 0}, {-4, 1, 1}), 4.0f);
}

TEST(ClassifySphere, RadiusItselfIsNotStraddling) {
    const Vector3 up{0, 1, 0};
    const Vector3 origin{0, 0, 0};
    float s = 0;
    EXPECT_EQ(ClassifySphere({0, 25, 0}, up, origin, 25, &s), SphereSide::InFront);
    EXPECT_FLOAT_EQ(s, 25);
    EXPECT_EQ(ClassifySphere({0, -25, 0}, up, origin, 25, &s), SphereSide::Behind);
    EXPECT_FLOAT_EQ(s, -25);
    EXPECT_EQ(ClassifySphere({0, 24.9f, 0}, up, origin, 25, &s), SphereSide::Straddling);
    EXPECT_EQ(ClassifySphere({0, -24.9f, 0}, up, origin, 25, &s), SphereSide::Straddling);
    EXPECT_EQ(ClassifySphere({0, 1000, 0}, up, {0, 990, 0}, 25, &s), SphereSide::Straddling);
    EXPECT_FLOAT_EQ(s, 10);
}

TEST(ClassifySphere, WritesTheDistanceEvenWhenFarAway) {
    float s = 0;
    EXPECT_EQ(ClassifySphere({0, 0, -500}, {0, 0, 1}, {0, 0, 100}, 25, &s), SphereSide::Behind);
    EXPECT_FLOAT_EQ(s, -600);
}

TEST(ClassifySphere, ZeroNormalStraddlesAtDistanceZero) {
    float s = 99;
    EXPECT_EQ(ClassifySphere({40, 50, 60}, {0, 0, 0}, {1, 2, 3}, 25, &s), SphereSide::Straddling);
    EXPECT_EQ(s, 0.0f);
}

TEST(AngleBetween, RightStraightAndNone) {
    EXPECT_DOUBLE_EQ(AngleBetween({1, 0, 0}, {0, 0, 5}), kPiD / 2);
    EXPECT_NEAR(AngleBetween({1, 0, 0}, {-3, 0, 0}), kPiD, 1e-12);
    EXPECT_EQ(AngleBetween({2, 2, 2}, {2, 2, 2}), 0.0);
}

TEST(AngleBetween, UndefinedAnglesCountZero) {
    EXPECT_EQ(AngleBetween({0, 0, 0}, {1, 0, 0}), 0.0);
    EXPECT_EQ(AngleBetween({0, 0, 0}, {0, 0, 0}), 0.0);
    // Rounding pushes the cosine of these nearly parallel vectors above 1.
    bool sawCosineAboveOne = false;
    for (int i = 1; i < 200 && !sawCosineAboveOne; ++i) {
        const Vector3 v{0.1f * static_cast<float>(i), 0.3f, 0.7f};
        const float dot = v.x * v.x + v.y * v.y + v.z * v.z;
        const float l = std::sqrt(dot);
        if (static_cast<double>(dot) / static_cast<double>(l * l) > 1.0) {
            sawCosineAboveOne = true;
            EXPECT_EQ(AngleBetween(v, v), 0.0);
        }
    }
    EXPECT_TRUE(sawCosineAboveOne);
}

TEST(AngleBetween, QuotientIsTakenInDoubleFromFloatParts) {
    const Vector3 a{1, 2, 3};
    const Vector3 b{-2, 0.5f, 4};
    const float dot = a.x * b.x + a.y * b.y + a.z * b.z;
    const float la = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    const float lb = std::sqrt(b.x * b.x + b.y * b.y + b.z * b.z);
    const float lengths = la * lb;
    EXPECT_EQ(AngleBetween(a, b), std::acos(static_cast<double>(dot) / static_cast<double>(lengths)));
}

class PointInTriangle : public ::testing::Test {
protected:
    const Vector3 corners[3] = {{0, 0, 0}, {90, 0, 0}, {0, 0, 90}};
};

TEST_F(PointInTriangle, CentroidIsInside) { EXPECT_TRUE(PointInPolygon({30, 0, 30}, corners, 3)); }

TEST_F(PointInTriangle, PointOnAnEdgeIsInside) {
    EXPECT_TRUE(PointInPolygon({45, 0, 0}, corners, 3));
    EXPECT_TRUE(PointInPolygon({45, 0, 45}, corners, 3));
}

TEST_F(PointInTriangle, CornerItselfIsOutside) {
    EXPECT_FALSE(PointInPolygon({0, 0, 0}, corners, 3));
    EXPECT_FALSE(PointInPolygon({90, 0, 0}, corners, 3));
}

TEST_F(PointInTriangle, FarOutsideIsOutside) {
    EXPECT_FALSE(PointInPolygon({500, 0, 500}, corners, 3));
    EXPECT_FALSE(PointInPolygon({-20, 0, 30}, corners, 3));
}

TEST_F(PointInTriangle, JustBeyondAnEdgeStillCountsInside) {
    // The 0.99 of a full turn lets a point a little outside the long edge through...
    EXPECT_TRUE(PointInPolygon({45, 0, -0.5f}, corners, 3));
    // ...but not one clearly outside.
    EXPECT_FALSE(PointInPolygon({45, 0, -5}, corners, 3));
}

TEST(ClosestPointOnSegment, ClampsToTheEnds) {
    const Vector3 a{0, 0, 0};
    const Vector3 b{10, 0, 0};
    ExpectVector(ClosestPointOnSegment(a, b, {15, 3, 0}), 10, 0, 0);
    ExpectVector(ClosestPointOnSegment(a, b, {-4, 3, 0}), 0, 0, 0);
    ExpectVector(ClosestPointOnSegment(a, b, {0, 7, 2}), 0, 0, 0);  // level with a: t = 0
    ExpectVector(ClosestPointOnSegment(a, b, {10, 7, 2}), 10, 0, 0);  // t = length
    ExpectVector(ClosestPointOnSegment(a, b, {4, 7, 2}), 4, 0, 0);
}

TEST(ClosestPointOnSegment, ZeroLengthSegmentGivesItsStart) {
    ExpectVector(ClosestPointOnSegment({2, 3, 4}, {2, 3, 4}, {9, 9, 9}), 2, 3, 4);
}

TEST(ClosestPointOnSegment, NotANumberAlongGivesTheStart) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    ExpectVector(ClosestPointOnSegment({1, 0, 0}, {5, 0, 0}, {nan, 0, 0}), 1, 0, 0);
}

TEST(SphereTouchesEdges, ExactlyTheRadiusAwayDoesNotTouch) {
    const Vector3 corners[3] = {{0, 0, 0}, {100, 0, 0}, {0, 0, 100}};
    EXPECT_FALSE(SphereTouchesEdges({50, 0, -12.5f}, corners, 3, 12.5f));
    EXPECT_TRUE(SphereTouchesEdges({50, 0, -12.4f}, corners, 3, 12.5f));
    EXPECT_FALSE(SphereTouchesEdges({-30, 0, -30}, corners, 3, 12.5f));
}

TEST(SphereTouchesEdges, ClosingEdgeIsTested) {
    const Vector3 corners[3] = {{0, 0, 0}, {100, 0, 0}, {0, 0, 100}};
    EXPECT_TRUE(SphereTouchesEdges({-5, 0, 50}, corners, 3, 12.5f));  // near edge 2 -> 0 only
}

TEST(PushOutVector, LeavesTheCentreOneRadiusFromThePlane) {
    const Vector3 n{0, 1, 0};
    ExpectVector(PushOutVector(n, 25, 10), 0, 15, 0);
    ExpectVector(PushOutVector(n, 25, -10), 0, -15, 0);
    ExpectVector(PushOutVector(n, 25, 0), 0, -25, 0);  // in the plane: to the back side
    ExpectVector(PushOutVector({0, 0, 0}, 25, 0), 0, 0, 0);
}

}  // namespace
}  // namespace brontal
