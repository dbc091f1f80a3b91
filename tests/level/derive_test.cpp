// The derivations after loading: room and model boxes, object boxes and world corners.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "level/box_corners.h"
#include "level/level_bytes.h"

namespace brontal {
namespace {

using namespace test;

void ExpectNear(const Vector3& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-5f);
    EXPECT_NEAR(v.y, y, 1e-5f);
    EXPECT_NEAR(v.z, z, 1e-5f);
}

TEST(DeriveBoxes, RoomBoxSpansEverySurfaceAndEmptyRoomKeepsZeroBox) {
    ChunkWriter w;
    PutHeader(w, 3, 0, 0, 1);
    PutRoom(w, 2, 0, 0);
    PutSurface(w, 18, {{-5, 1, 2, 0, 0}, {0, 3, 4, 0, 0}}, {0, 1, 0});
    PutSurface(w, 18, {{5, 0, 8, 0, 0}}, {0});
    PutRoom(w, 0, 0, 0);
    PutRoom(w, 1, 0, 0);
    PutSurface(w, 18, {{7, 7, 7, 0, 0}}, {0});  // one point: min = max
    Level level;
    std::string error;
    ASSERT_TRUE(Read(w, level, error)) << error;
    ExpectNear(level.rooms[0].boxMin, -5, 0, 2);
    ExpectNear(level.rooms[0].boxMax, 5, 3, 8);
    ExpectNear(level.rooms[1].boxMin, 0, 0, 0);
    ExpectNear(level.rooms[1].boxMax, 0, 0, 0);
    ExpectNear(level.rooms[2].boxMin, 7, 7, 7);
    ExpectNear(level.rooms[2].boxMax, 7, 7, 7);
}

TEST(DeriveBoxes, CornerOrderFollowsTheBitsOfK) {
    const BoxCorners c = MakeBoxCorners({0, 10, 20}, {1, 11, 21});
    ExpectNear(c[0], 0, 10, 20);
    ExpectNear(c[1], 1, 10, 20);
    ExpectNear(c[2], 0, 11, 20);
    ExpectNear(c[3], 1, 11, 20);
    ExpectNear(c[4], 0, 10, 21);
    ExpectNear(c[5], 1, 10, 21);
    ExpectNear(c[6], 0, 11, 21);
    ExpectNear(c[7], 1, 11, 21);
}

// A unit-box model placed by objects in the first and the last room.
Level PlacedUnitBox(float angle, std::uint8_t solid) {
    ChunkWriter w;
    PutHeader(w, 2, 1, 0, 1);
    PutRoom(w, 0, 1, 0);
    PutObject(w, 0, {10, 0, 0}, {0, 1, 0}, angle);
    PutModel(w, 1, solid);
    PutSurface(w, 21, {{0, 0, 0, 0, 0}, {1, 1, 1, 0, 0}, {0.5f, 0.5f, 0.5f, 0, 0}}, {0, 1, 2});
    PutRoom(w, 0, 1, 0);
    PutObject(w, 0, {0, -4, 0});
    Level level;
    std::string error;
    EXPECT_TRUE(Read(w, level, error)) << error;
    return level;
}

TEST(DeriveBoxes, ObjectCornersAreTheModelBoxInWorldSpace) {
    const Level level = PlacedUnitBox(0, 1);
    ASSERT_EQ(level.roomCount, 2);
    ExpectNear(level.models[0].boxMin, 0, 0, 0);
    ExpectNear(level.models[0].boxMax, 1, 1, 1);
    const RoomObject& object = level.rooms[0].objects[0];
    ExpectNear(object.boxMin, 0, 0, 0);
    ExpectNear(object.boxMax, 1, 1, 1);
    EXPECT_TRUE(object.solid);
    const float expected[8][3] = {{10, 0, 0}, {11, 0, 0}, {10, 1, 0}, {11, 1, 0},
                                  {10, 0, 1}, {11, 0, 1}, {10, 1, 1}, {11, 1, 1}};
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        ExpectNear(object.corners[k], expected[k][0], expected[k][1], expected[k][2]);
    }
    // The last room's objects get theirs too.
    const RoomObject& last = level.rooms[1].objects[0];
    EXPECT_TRUE(last.solid);
    ExpectNear(last.corners[0], 0, -4, 0);
    ExpectNear(last.corners[7], 1, -3, 1);
}

TEST(DeriveBoxes, RotationComesBeforeTranslation) {
    const Level level = PlacedUnitBox(kPi / 2, 1);
    ExpectNear(level.rooms[0].objects[0].corners[1], 10, 0, -1);
    ExpectNear(level.rooms[0].objects[0].corners[4], 11, 0, 0);
}

TEST(DeriveBoxes, NonSolidModelStillGetsCorners) {
    const Level level = PlacedUnitBox(0, 0);
    const RoomObject& object = level.rooms[0].objects[0];
    EXPECT_FALSE(object.solid);
    ExpectNear(object.corners[7], 11, 1, 1);
}

TEST(DeriveBoxes, ManyAtATimeGivesTheOneAtATimeBoxToTheBit) {
    // Lengths around the four-vertex blocks, coordinates from a few values so that ties are
    // common, zeros of both signs among them, the bytes at an odd address.
    std::mt19937 random(7);
    const float values[] = {-0.0f, 0.0f, 1.5f, -2.0f, 0.0f, -0.0f, 3.0f};
    for (int trial = 0; trial < 400; ++trial) {
        Surface surface;
        surface.vertices.resize(1 + trial % 13);
        for (Vertex& v : surface.vertices)
            for (float* c : {&v.x, &v.y, &v.z, &v.u, &v.v}) *c = values[random() % std::size(values)];
        std::vector<std::uint8_t> bytes(1 + surface.vertices.size() * sizeof(Vertex));
        std::memcpy(bytes.data() + 1, surface.vertices.data(), bytes.size() - 1);
        const SurfaceBox one = BoxOf(surface), many = BoxOfVertexBytes(bytes.data() + 1, surface.vertices.size());
        const float expected[6] = {one.low.x, one.low.y, one.low.z, one.high.x, one.high.y, one.high.z};
        const float got[6] = {many.low.x, many.low.y, many.low.z, many.high.x, many.high.y, many.high.z};
        for (int c = 0; c < 6; ++c) {
            ASSERT_EQ(std::signbit(expected[c]), std::signbit(got[c])) << "trial " << trial << ", end " << c;
            ASSERT_EQ(expected[c], got[c]) << "trial " << trial << ", end " << c;
        }
    }
}

TEST(DeriveBoxes, DerivationRunsOnAHandBuiltLevel) {
    Level level;
    level.roomCount = 1;
    level.rooms.resize(1);
    level.rooms[0].surfaceCount = 1;
    level.rooms[0].surfaces.resize(6);  // places beyond surfaceCount are not gathered
    level.rooms[0].surfaces[0].vertices = {{1, 2, 3, 0, 0}, {-1, 5, 0, 0, 0}};
    level.rooms[0].surfaces[1].vertices = {{100, 100, 100, 0, 0}};
    deriveAfterLoad(level);
    ExpectNear(level.rooms[0].boxMin, -1, 2, 0);
    ExpectNear(level.rooms[0].boxMax, 1, 5, 3);
}

}  // namespace
}  // namespace brontal
