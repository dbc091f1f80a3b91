// CollideSphere on hand-made triangles: floors, walls, corners, the edge test at half the
// radius, the order of pushes and the strided view.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "geometry/collision.h"
#include "geometry/queries.h"

namespace brontal {
namespace {

// One big floor triangle in y = 0, 2000 across, its normal up or down by its winding.
struct Floor {
    explicit Floor(bool normalUp) {
        indices = normalUp ? std::vector<std::uint16_t>{0, 2, 1} : std::vector<std::uint16_t>{0, 1, 2};
    }
    std::vector<Vector3> corners{{-1000, 0, -1000}, {-1000, 0, 1000}, {1000, 0, -1000}};
    std::vector<std::uint16_t> indices;
    Vector3 Collide(Vector3 centre) const {
        CollideSphere(centre, ViewOfPositions(corners.data(), corners.size()), indices.data(), indices.size() / 3);
        return centre;
    }
};

TEST(CollideSphere, CentreNearAFloorEndsOneRadiusAboveIt) {
    for (bool up : {true, false}) {
        const Floor floor(up);
        const Vector3 out = floor.Collide({-500, 10, -500});
        EXPECT_FLOAT_EQ(out.y, 25.0f) << "normal up: " << up;
        EXPECT_FLOAT_EQ(out.x, -500.0f);
        EXPECT_FLOAT_EQ(out.z, -500.0f);
        EXPECT_FLOAT_EQ(floor.Collide({-500, -10, -500}).y, -25.0f) << "from below, normal up: " << up;
    }
}

TEST(CollideSphere, CentreOneRadiusOrMoreAwayIsNotMoved) {
    const Floor floor(true);
    EXPECT_EQ(floor.Collide({-500, 25, -500}).y, 25.0f);
    EXPECT_EQ(floor.Collide({-500, 40, -500}).y, 40.0f);
    EXPECT_EQ(floor.Collide({-500, -25, -500}).y, -25.0f);
}

TEST(CollideSphere, EdgeTestUsesHalfTheRadius) {
    // Floor triangle with an edge along x = 100 (for z from 0 to 100).
    const std::vector<Vector3> corners{{0, 0, 0}, {0, 0, 200}, {100, 0, 0}, {100, 0, 200}};
    const std::vector<std::uint16_t> indices{0, 1, 3, 0, 3, 2};
    const PositionView view = ViewOfPositions(corners.data(), corners.size());

    Vector3 far{120, 10, 100};  // edge 22.4 away: the sphere overlaps but is not pushed
    CollideSphere(far, view, indices.data(), 2);
    EXPECT_EQ(far.y, 10.0f);

    Vector3 near{105, 10, 100};  // edge 11.2 away
    CollideSphere(near, view, indices.data(), 2);
    EXPECT_FLOAT_EQ(near.y, 25.0f);
    EXPECT_EQ(near.x, 105.0f);
}

TEST(CollideSphere, CentreInThePlaneGoesAgainstTheNormal) {
    const Floor up(true);
    EXPECT_FLOAT_EQ(up.Collide({-500, 0, -500}).y, -25.0f);
    const Floor down(false);
    EXPECT_FLOAT_EQ(down.Collide({-500, 0, -500}).y, 25.0f);
}

TEST(CollideSphere, CornerOfTwoWallsLeavesTheCentreOneRadiusFromBoth) {
    // Wall in x = 100 and wall in z = 100, both 400 high.
    const std::vector<Vector3> corners{{100, 0, -300}, {100, 400, -300}, {100, 0, 100}, {100, 400, 100},
                                       {-300, 0, 100}, {-300, 400, 100}};
    const std::vector<std::uint16_t> indices{0, 1, 3, 0, 3, 2, 4, 5, 3, 4, 3, 2};
    Vector3 centre{90, 200, 95};
    CollideSphere(centre, ViewOfPositions(corners.data(), corners.size()), indices.data(), 4);
    EXPECT_FLOAT_EQ(centre.x, 75.0f);
    EXPECT_FLOAT_EQ(centre.z, 75.0f);
    EXPECT_EQ(centre.y, 200.0f);
}

TEST(CollideSphere, EachTriangleOnceInOrderWithoutASecondPass) {
    // Floor at y = 0, then a ceiling at y = 30: the ceiling's push puts the centre back into the
    // floor's reach, and that is left for the next frame.
    const std::vector<Vector3> corners{{-100, 0, -100}, {-100, 0, 100}, {100, 0, -100},
                                       {-100, 30, -100}, {-100, 30, 100}, {100, 30, -100}};
    const std::vector<std::uint16_t> indices{0, 1, 2, 3, 5, 4};
    Vector3 centre{-50, 10, -50};
    CollideSphere(centre, ViewOfPositions(corners.data(), corners.size()), indices.data(), 2);
    EXPECT_FLOAT_EQ(centre.y, 5.0f);
}

TEST(CollideSphere, SlidingAlongAWallKeepsTheMovementAlongIt) {
    const std::vector<Vector3> corners{{100, 0, -1000}, {100, 400, -1000}, {100, 0, 1000}};
    const std::vector<std::uint16_t> indices{0, 1, 2};
    Vector3 centre{85, 100, 40};
    CollideSphere(centre, ViewOfPositions(corners.data(), corners.size()), indices.data(), 1);
    EXPECT_FLOAT_EQ(centre.x, 75.0f);
    EXPECT_EQ(centre.y, 100.0f);
    EXPECT_EQ(centre.z, 40.0f);
}

TEST(CollideSphere, DegenerateAndEmptyInputLeaveThePositionAlone) {
    const std::vector<Vector3> corners{{0, 0, 0}, {10, 0, 0}, {20, 0, 0}};
    const std::vector<std::uint16_t> indices{0, 1, 2};
    Vector3 centre{10, 0, 0};
    CollideSphere(centre, ViewOfPositions(corners.data(), corners.size()), indices.data(), 1);
    EXPECT_EQ(centre.x, 10.0f);
    EXPECT_EQ(centre.y, 0.0f);
    CollideSphere(centre, ViewOfPositions(corners.data(), corners.size()), indices.data(), 0);
    EXPECT_EQ(centre.y, 0.0f);
}

TEST(CollideSphere, TriangleNamingAPositionBeyondTheViewIsSkipped) {
    const Floor floor(true);
    const std::vector<std::uint16_t> indices{0, 1, 3, 0, 1, 2};
    Vector3 centre{-500, 10, -500};
    CollideSphere(centre, ViewOfPositions(floor.corners.data(), floor.corners.size()), indices.data(), 1);
    EXPECT_EQ(centre.y, 10.0f);
    CollideSphere(centre, ViewOfPositions(floor.corners.data(), floor.corners.size()), indices.data(), 2);
    EXPECT_FLOAT_EQ(centre.y, 25.0f);
}

// A level's vertices carry texture coordinates between the positions.
struct TexturedVertex {
    float x, y, z, u, v;
};

TEST(CollideSphere, StridedViewReadsPositionsInPlace) {
    const std::vector<TexturedVertex> vertices{{100, 0, -300, 9, 9}, {100, 400, -300, 9, 9}, {100, 0, 100, 9, 9},
                                               {100, 400, 100, 9, 9}, {-300, 0, 100, 9, 9}, {-300, 400, 100, 9, 9}};
    std::vector<Vector3> points;
    for (const TexturedVertex& v : vertices) points.push_back({v.x, v.y, v.z});
    const std::vector<std::uint16_t> indices{0, 1, 3, 0, 3, 2, 4, 5, 3, 4, 3, 2};

    Vector3 strided{95, 150, 80};
    Vector3 packed = strided;
    CollideSphere(strided, ViewOfPositions(vertices.data(), sizeof(TexturedVertex), vertices.size()), indices.data(), 4);
    CollideSphere(packed, ViewOfPositions(points.data(), points.size()), indices.data(), 4);
    EXPECT_EQ(strided.x, packed.x);
    EXPECT_EQ(strided.y, packed.y);
    EXPECT_EQ(strided.z, packed.z);
    EXPECT_FLOAT_EQ(strided.x, 75.0f);
}

}  // namespace
}  // namespace brontal

namespace brontal {
namespace {

// The inlined plane test against the queries it stands for, on random triangles of every size
// (down to degenerate and near-unit cross products) and centres near their planes.
TEST(PlaneTest, DecidesExactlyAsTheQueries) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> place(-600.0f, 600.0f);
    std::uniform_int_distribution<int> scaleChoice(0, 4);
    const float scales[5] = {0.0f, 1e-6f, 1.0f, 30.0f, 400.0f};
    int straddling = 0;
    for (int i = 0; i < 200000; ++i) {
        const Vector3 c0{place(random), place(random), place(random)};
        const float scale = scales[scaleChoice(random)] / 600.0f;
        const Vector3 c1{c0.x + place(random) * scale, c0.y + place(random) * scale, c0.z + place(random) * scale};
        const Vector3 c2{c0.x + place(random) * scale, c0.y + place(random) * scale, c0.z + place(random) * scale};
        const Vector3 normal = TriangleNormal(c0, c1, c2);
        // Centres at and round the radius from the plane, where the decision is closest.
        const float along = 25.0f + (place(random) / 600.0f) * (i % 3 == 0 ? 1e-3f : 5.0f);
        const Vector3 centre{c0.x + normal.x * along, c0.y + normal.y * along, c0.z + normal.z * along};
        float distance = 0.0f;
        const bool expected = ClassifySphere(centre, normal, c0, collisionRadius, &distance) == SphereSide::Straddling;
        ASSERT_EQ(PlaneTestStraddles(centre, c0, c1, c2), expected) << i;
        straddling += expected;
    }
    EXPECT_GT(straddling, 1000);
    EXPECT_LT(straddling, 199000);
}

}  // namespace
}  // namespace brontal
