// Walking through the sample level with the game's own room tracking and collision: running
// at 180 units per second and falling at 80, the player gets from the start to every room
// through the doorways, stays on the floors and goes up the ramp to the gallery.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "player/room_tracking.h"
#include "sample_fixture.h"

namespace brontal::test {
namespace {

struct Walk {
    Vector3 position;
    std::set<std::string> rooms;
    std::string current;
    float lowestAboveFloor = 1e9f;
};

// Runs towards each waypoint (x, z) in turn at 60 frames per second, the way the run action
// moves the player: along the ground, with gravity, then the room pass.
Walk WalkPath(const Level& level, const std::vector<std::pair<float, float>>& waypoints) {
    Walk walk{level.startPosition, {}, {}};
    const float dt = 1.0f / 60.0f;
    for (const auto& [tx, tz] : waypoints) {
        for (int frame = 0; frame < 60 * 20; ++frame) {
            const float dx = tx - walk.position.x, dz = tz - walk.position.z;
            const float left = std::sqrt(dx * dx + dz * dz);
            if (left < 4.0f) break;
            const float step = std::min(left, 180.0f * dt);
            walk.position.x += dx / left * step;
            walk.position.z += dz / left * step;
            walk.position.y -= 80.0f * dt;
            for (const Room& room : level.rooms) {
                if (!RoomContains(room, walk.position)) continue;
                walk.current = room.name;
                CollideWithRoom(room, walk.position);
            }
            walk.rooms.insert(walk.current);
        }
    }
    return walk;
}

bool Near(const Vector3& p, float x, float z) { return std::hypot(p.x - x, p.z - z) < 6.0f; }

TEST(SampleWalk, FromTheHallThroughTheCorridorAndCourtyardIntoTheGarden) {
    const Level& level = Sample().level;
    const Walk walk = WalkPath(level, {{0, 1330}, {238, 1400}, {238, 1760}, {0, 1780}, {0, 2050}});
    EXPECT_TRUE(Near(walk.position, 0, 2050)) << walk.position.x << ", " << walk.position.z;
    EXPECT_NEAR(walk.position.y, 25.0f, 2.0f);
    EXPECT_EQ(walk.current, "Walled Garden");
    for (const char* room : {"Entrance Hall", "Long Corridor", "Courtyard", "Walled Garden"})
        EXPECT_TRUE(walk.rooms.count(room)) << room;
}

TEST(SampleWalk, IntoTheLibraryThroughItsCurtains) {
    const Walk walk = WalkPath(Sample().level, {{0, 640}, {-300, 640}});
    EXPECT_TRUE(Near(walk.position, -300, 640)) << walk.position.x << ", " << walk.position.z;
    EXPECT_NEAR(walk.position.y, 25.0f, 2.0f);
    EXPECT_EQ(walk.current, "Library");
}

TEST(SampleWalk, UpTheRampOntoTheGallery) {
    const Walk walk = WalkPath(Sample().level, {{0, 640}, {200, 640}, {200, 730}, {700, 730}, {700, 900}, {400, 900}});
    EXPECT_TRUE(Near(walk.position, 400, 900)) << walk.position.x << ", " << walk.position.z;
    EXPECT_NEAR(walk.position.y, 150.0f + 25.0f, 2.0f);
    EXPECT_EQ(walk.current, "Upper Gallery");
    EXPECT_TRUE(walk.rooms.count("Stair Hall"));
}

TEST(SampleWalk, SolidFurnitureStopsThePlayer) {
    // Straight at the hall's first pillar: the player ends against it, not through it.
    const Walk walk = WalkPath(Sample().level, {{-200, -250}, {-200, -50}});
    EXPECT_LT(walk.position.z, -150.0f - 28.0f - 20.0f);
}

}  // namespace
}  // namespace brontal::test
