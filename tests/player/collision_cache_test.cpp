// The room pass through the collision cache against the straightforward pass on the level's
// arrays, bit for bit, on random levels and long walks; and the cache following a level that is
// replaced.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "math/matrix.h"
#include "player/collision_cache.h"
#include "player/room_tracking.h"
#include "sim_world.h"

namespace brontal {
namespace {

using test::AddBoxModel;
using test::AddRoom;
using test::BoxRoom;
using test::InstallLevel;
using test::PlaceObject;
using test::Quad;

bool SameBits(const Vector3& a, const Vector3& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The room pass without the cache: every containing room, in order, on the level's arrays.
void StraightforwardPass(const Level& level, Vector3& position) {
    for (std::size_t i = 0; i < std::min<std::size_t>(level.roomCount, level.rooms.size()); ++i)
        if (RoomContains(level.rooms[i], position)) CollideWithRoom(level.rooms[i], position);
}

// Overlapping box rooms with ramps, ledges, '!' curtains, spare surfaces beyond the count in use,
// and solid and open boxes turned about y.
Level RandomLevel(std::mt19937& random) {
    std::uniform_real_distribution<float> place(-600.0f, 600.0f);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    Level level;
    const std::uint16_t solidModel = AddBoxModel(level, {-30, 0, -20}, {30, 50, 20}, true);
    const std::uint16_t openModel = AddBoxModel(level, {-10, 0, -10}, {10, 90, 10}, false);
    const int rooms = std::uniform_int_distribution<int>(1, 4)(random);
    for (int r = 0; r < rooms; ++r) {
        const Vector3 lo{place(random) - 400, -50 + 30 * unit(random), place(random) - 400};
        Room room = BoxRoom("room " + std::to_string(r), lo, {lo.x + 500 + 500 * unit(random), 300, lo.z + 500 + 500 * unit(random)});
        const float y = 40 + 100 * unit(random);
        room.surfaces.push_back(Quad(unit(random) < 0.3f ? "!curtain" : "ledge", {lo.x, y, lo.z}, {lo.x, y + 60 * unit(random), lo.z + 300},
                                     {lo.x + 300, y, lo.z + 300}, {lo.x + 300, y - 30 * unit(random), lo.z}));
        room.surfaceCount = static_cast<std::uint16_t>(room.surfaces.size());
        room.surfaces.push_back(Quad("spare", {lo.x, 20, lo.z}, {lo.x, 20, lo.z + 900}, {lo.x + 900, 20, lo.z + 900}, {lo.x + 900, 20, lo.z}));
        for (int o = 0; o < 3; ++o) {
            PlaceObject(room, unit(random) < 0.7f ? solidModel : openModel, {lo.x + 400 * unit(random), lo.y, lo.z + 400 * unit(random)});
            RoomObject& placed = room.objects.back();  // turned about y, so the box corners are off the axes
            placed.rotationAngle = 6.2831853f * unit(random);
            Matrix4x4 rotation;
            Matrix4x4 translation;
            MatrixRotationAxis(&rotation, &placed.rotationAxis, placed.rotationAngle);
            MatrixTranslation(&translation, placed.position.x, placed.position.y, placed.position.z);
            MatrixMultiply(&placed.world, &rotation, &translation);
        }
        AddRoom(level, room);
    }
    return level;
}

// The simulation fixture forgets the cache after each test.
class CollisionCache : public test::Simulation {};

TEST_F(CollisionCache, SamePositionsAsTheStraightforwardPassOnRandomLevelsAndWalks) {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_real_distribution<float> step(-6.0f, 6.0f);
    int moved = 0;
    for (int l = 0; l < 40; ++l) {
        Level level = RandomLevel(random);
        deriveAfterLoad(level);
        for (int walk = 0; walk < 10; ++walk) {
            const Room& start = level.rooms[std::uniform_int_distribution<std::size_t>(0, level.rooms.size() - 1)(random)];
            Vector3 cached{start.boxMin.x + (start.boxMax.x - start.boxMin.x) * unit(random), start.boxMin.y + 30 + 100 * unit(random),
                           start.boxMin.z + (start.boxMax.z - start.boxMin.z) * unit(random)};
            const Vector3 heading{step(random), 0, step(random)};
            for (int frame = 0; frame < 300; ++frame) {
                const Vector3 before = cached;
                cached.x += heading.x + step(random) * 0.1f;
                cached.y -= 0.8f;
                cached.z += heading.z;
                Vector3 straight = cached;
                TrackRoomsAndCollide(level, cached);
                StraightforwardPass(level, straight);
                ASSERT_TRUE(SameBits(cached, straight)) << "level " << l << " walk " << walk << " frame " << frame;
                moved += !SameBits(before, cached);
            }
        }
    }
    EXPECT_GT(moved, 10000);
}

TEST_F(CollisionCache, FollowsALevelWhoseRoomIsReplaced) {
    Level level;
    AddRoom(level, BoxRoom("hall", {-500, 0, -500}, {500, 300, 500}));
    InstallLevel(level);
    BuildCollisionCache(g_level);
    Vector3 position{0, 10, 0};
    TrackRoomsAndCollide(g_level, position);
    EXPECT_EQ(position.y, 25.0f);

    // A new floor 100 higher: the room's arrays change and the pass gathers them again.
    g_level.rooms[0] = BoxRoom("hall", {-500, 100, -500}, {500, 300, 500});
    g_level.rooms[0].boxMin = {-500, 0, -500};
    g_level.rooms[0].boxMax = {500, 300, 500};
    position = {0, 110, 0};
    TrackRoomsAndCollide(g_level, position);
    EXPECT_EQ(position.y, 125.0f);
}

TEST_F(CollisionCache, GathersSurfacesThenSolidObjectsAndLeavesTheRestOut) {
    Level level;
    Room hall = BoxRoom("hall", {-500, 0, -500}, {500, 300, 500});
    hall.surfaces.push_back(Quad("!curtain", {0, 0, -500}, {0, 300, -500}, {0, 300, 500}, {0, 0, 500}));
    hall.surfaceCount = static_cast<std::uint16_t>(hall.surfaces.size());
    hall.surfaces.push_back(Quad("spare", {-500, 150, -500}, {-500, 150, 500}, {500, 150, 500}, {500, 150, -500}));
    PlaceObject(hall, AddBoxModel(level, {-20, 0, -20}, {20, 60, 20}, true), {200, 0, 0});
    PlaceObject(hall, AddBoxModel(level, {-20, 0, -20}, {20, 60, 20}, false), {-200, 0, 0});
    AddRoom(level, hall);
    InstallLevel(level);
    // Six walls of two triangles and one solid box of twelve; not the curtain, the spare or the open box.
    EXPECT_EQ(CachedRoomTriangles(g_level, 0).triangles.size(), 6u * 2u + 12u);
    EXPECT_EQ(CachedRoomTriangles(g_level, 0).triangles[12].corners[0].x, 220.0f);
}

}  // namespace
}  // namespace brontal
