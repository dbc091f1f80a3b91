// Whole frames on small levels: falling onto a floor, running into walls and corners, surfaces
// and objects that do or do not stop the player, the back-step and the two stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "player/fly_camera.h"
#include "sim_world.h"

namespace brontal {
namespace {

using test::AddBoxModel;
using test::AddRoom;
using test::BoxRoom;
using test::InstallLevel;
using test::PlaceObject;
using test::Quad;
using test::SetVisibleRooms;
using test::Simulation;

// One room 1000 across and 300 high round the origin, floor at y = 0.
class Scenario : public Simulation {
protected:
    void SetUp() override {
        Simulation::SetUp();
        room = BoxRoom("hall", {-500, 0, -500}, {500, 300, 500});
        SetVisibleRooms(room, {0});
    }
    void Install() {
        AddRoom(level, room);
        InstallLevel(level);
    }
    // Runs with Up held along a fixed walking direction.
    void RunAlong(Vector3 forward, int frames) {
        g_player.forward = forward;
        Hold(VK_UP);
        Frames(frames);
    }
    Level level;
    Room room;
};

TEST_F(Scenario, FallsOntoTheFloorAndRestsTwentyFiveAboveIt) {
    Install();
    StartAt({0, 100, 0});
    Hold(VK_DOWN);  // the back-step applies gravity throughout
    float lowest = 100;
    for (int i = 0; i < 200; ++i) {
        Frames(1);
        lowest = std::min(lowest, g_player.position.y);
    }
    EXPECT_NEAR(g_player.position.y, 25.0f, 1e-3f);
    EXPECT_GT(lowest, 24.99f);  // held up by the push-out every frame, never sinking
    EXPECT_STREQ(g_currentRoomName, "hall");
}

TEST_F(Scenario, RunsIntoAWallAndSlidesAlongIt) {
    Install();
    StartAt({300, 25, -300});
    const float d = std::sqrt(0.5f);
    RunAlong({d, 0, d}, 200);
    EXPECT_NEAR(g_player.position.x, 475.0f, 1e-3f);
    const float z = g_player.position.z;
    Frames(10);
    EXPECT_NEAR(g_player.position.x, 475.0f, 1e-3f);
    EXPECT_NEAR(g_player.position.z - z, 10 * 1.8f * d, 1e-2f);  // the move along the wall goes through
    EXPECT_NEAR(g_player.position.y, 25.0f, 1e-3f);
}

TEST_F(Scenario, RunsIntoACornerAndRestsOneRadiusFromBothWalls) {
    Install();
    StartAt({300, 25, 300});
    const float d = std::sqrt(0.5f);
    RunAlong({d, 0, d}, 300);
    EXPECT_NEAR(g_player.position.x, 475.0f, 1e-3f);
    EXPECT_NEAR(g_player.position.z, 475.0f, 1e-3f);
}

TEST_F(Scenario, SurfaceNamedWithABangLetsThePlayerThrough) {
    // A glass pane across the room at x = 0, between the floor and the walls in the list.
    room.surfaces.insert(room.surfaces.begin() + 1,
                         Quad("!glass", {0, 0, -500}, {0, 300, -500}, {0, 300, 500}, {0, 0, 500}));
    room.surfaceCount = static_cast<std::uint16_t>(room.surfaces.size());
    Install();
    StartAt({-300, 25, 0});
    RunAlong({1, 0, 0}, 500);
    EXPECT_NEAR(g_player.position.x, 475.0f, 1e-3f);  // through the pane, stopped by the +x wall after it
    EXPECT_NEAR(g_player.position.y, 25.0f, 1e-3f);   // held by the floor before it
}

TEST_F(Scenario, SameSurfaceWithoutTheBangStopsThePlayer) {
    room.surfaces.insert(room.surfaces.begin() + 1,
                         Quad("glass", {0, 0, -500}, {0, 300, -500}, {0, 300, 500}, {0, 0, 500}));
    room.surfaceCount = static_cast<std::uint16_t>(room.surfaces.size());
    Install();
    StartAt({-300, 25, 0});
    RunAlong({1, 0, 0}, 500);
    EXPECT_NEAR(g_player.position.x, -25.0f, 1e-3f);
}

TEST_F(Scenario, SolidObjectStopsThePlayer) {
    PlaceObject(room, AddBoxModel(level, {-50, 0, -50}, {50, 100, 50}, true), {0, 0, 200});
    Install();
    StartAt({0, 25, -200});
    RunAlong({0, 0, 1}, 300);
    EXPECT_NEAR(g_player.position.z, 125.0f, 1e-3f);
}

TEST_F(Scenario, NonSolidObjectIsPassedThrough) {
    PlaceObject(room, AddBoxModel(level, {-50, 0, -50}, {50, 100, 50}, false), {0, 0, 200});
    Install();
    StartAt({0, 25, -200});
    RunAlong({0, 0, 1}, 500);
    EXPECT_NEAR(g_player.position.z, 475.0f, 1e-3f);
}

// The preview's flying camera: no wall, floor or gravity holds it, its speeds are by the second,
// and the room it is in is tracked as the player's would be. The player stays where it was.
TEST_F(Scenario, FlyingCameraPassesWallsAndCeilingsAtTheSameSpeedAtAnyFrameRate) {
    Room attic = BoxRoom("attic", {-500, 300, -500}, {500, 600, 500});
    SetVisibleRooms(attic, {1, 0});
    AddRoom(level, room);
    AddRoom(level, attic);
    InstallLevel(level);
    StartAt({0, 25, 0});
    const Vector3 player = g_player.position;

    StartFlyCamera({0, 100, 0}, 0.0f);
    for (int i = 0; i < 50; ++i) UpdateFlyFrame();
    EXPECT_EQ(g_flyCamera.position.y, 100.0f) << "no gravity";
    EXPECT_STREQ(g_currentRoomName, "hall");

    Hold(VK_UP);
    for (int i = 0; i < 200; ++i) UpdateFlyFrame();  // two seconds
    EXPECT_GT(g_flyCamera.position.z, 500.0f) << "through the +z wall";
    EXPECT_EQ(g_flyCamera.position.x, 0.0f);
    Hold(VK_UP, false);

    // One second of Page Up at 100 frames a second, then at 20: the same rise, into the attic.
    StartFlyCamera({0, 100, 0}, 0.0f);
    Hold(VK_PRIOR);
    for (int i = 0; i < 100; ++i) UpdateFlyFrame();
    const float rise = g_flyCamera.position.y - 100.0f;
    EXPECT_GT(rise, 200.0f);
    EXPECT_STREQ(g_currentRoomName, "attic");
    EXPECT_EQ(g_visibleRoomList, (std::vector<std::uint16_t>{1, 0}));
    SimulatedCounter slowCounter{0.05};
    FrameTimer slow{slowCounter};
    slow.Start(20.0f);
    g_frameTimer = &slow;
    StartFlyCamera({0, 100, 0}, 0.0f);
    for (int i = 0; i < 20; ++i) UpdateFlyFrame();
    g_frameTimer = &timer;
    EXPECT_NEAR(g_flyCamera.position.y - 100.0f, rise, 1e-3f);

    EXPECT_EQ(g_player.position.x, player.x);
    EXPECT_EQ(g_player.position.y, player.y);
    EXPECT_EQ(g_player.position.z, player.z);
    // The view is the camera's: its placement sits at the camera's position.
    EXPECT_EQ(g_chaseCamera.cameraMatrix.m[3][1], g_flyCamera.position.y);
}

TEST_F(Scenario, ReturnToStartFromInsideAWallBeforeCollision) {
    Install();
    StartAt({0, 25, 0});
    g_player.position = {490, 25, 0};  // deep in the +x wall's reach
    Hold(VK_P);
    Frames(1);
    EXPECT_EQ(g_player.position.x, 0.0f);
    EXPECT_EQ(g_player.position.y, 25.0f);
    EXPECT_EQ(g_player.position.z, 0.0f);
    Hold(VK_P, false);
    g_player.position = {490, 25, 0};
    Frames(1);
    EXPECT_FLOAT_EQ(g_player.position.x, 475.0f);  // without P the wall pushes
}

TEST_F(Scenario, BackStepMovesOnlyBetweenFramesTwoElevenAndTwoTwentyThree) {
    Install();
    StartAt({0, 25, 0});
    Hold(VK_DOWN);
    float z = 0;
    int moving = 0;
    for (int i = 0; i < 85; ++i) {
        Frames(1);
        const float frame = g_player.animFrame;
        const bool moved = g_player.position.z != z;
        EXPECT_EQ(moved, frame > 211.0f && frame < 223.0f) << "frame " << frame;
        moving += moved;
        z = g_player.position.z;
    }
    EXPECT_EQ(moving, 40);
    EXPECT_NEAR(z, -40 * 1.4f, 1e-2f);
    EXPECT_NEAR(g_player.position.y, 25.0f, 1e-3f);
}

class Stops : public Scenario {
protected:
    // Holds Up until the run reaches the frame, then releases it.
    void RunToFrameAndRelease(float frame) {
        Install();
        StartAt({0, 25, -400});
        Hold(VK_UP);
        int guard = 0;
        while (!(g_animation.running == 1 && g_player.animFrame >= frame) && guard++ < 200) Frames(1);
        ASSERT_LT(g_player.animFrame, frame + 0.35f);
        Hold(VK_UP, false);
        Frames(1);
    }
};

TEST_F(Stops, ReleasedAtNinetyPlaysTheEarlyStopThenStands) {
    RunToFrameAndRelease(90.0f);
    EXPECT_EQ(g_animation.animStart, 124);
    const float z = g_player.position.z;
    Frames(10);
    EXPECT_NEAR(g_player.position.z - z, 10 * 0.54f, 1e-3f);  // sliding at 54 per second
    Frames(60);
    EXPECT_EQ(g_animation.animStart, 1);
    EXPECT_EQ(g_animation.stopping, 0);
    const float rest = g_player.position.z;
    Frames(10);
    EXPECT_EQ(g_player.position.z, rest);
}

TEST_F(Stops, ReleasedAtAHundredPlaysTheLateStop) {
    RunToFrameAndRelease(100.0f);
    EXPECT_EQ(g_animation.animStart, 108);
    EXPECT_EQ(g_animation.animEnd, 123);
}

}  // namespace
}  // namespace brontal
