// Which room the player is in, the visible-room list it hands over, and which rooms collide.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/room_tracking.h"
#include "sim_world.h"

namespace brontal {
namespace {

using test::AddRoom;
using test::BoxRoom;
using test::InstallLevel;
using test::SetVisibleRooms;
using test::Simulation;

std::vector<std::uint16_t> VisibleRooms() {
    return std::vector<std::uint16_t>(g_visibleRoomList.begin(), g_visibleRoomList.begin() + g_visibleRoomCount);
}

class RoomTracking : public Simulation {
protected:
    // Six rooms; 3 and 5 overlap round (0, 100, 0), the others lie far away.
    void SetUp() override {
        Simulation::SetUp();
        Level level;
        for (int i = 0; i < 6; ++i) {
            const float x = 5000.0f * static_cast<float>(i + 1);
            Room room = BoxRoom("room " + std::to_string(i), {x, 0, 0}, {x + 1000, 300, 1000});
            SetVisibleRooms(room, {static_cast<std::uint16_t>(i)});
            AddRoom(level, room);
        }
        level.rooms[3] = BoxRoom("three", {-500, 0, -500}, {500, 300, 500});
        SetVisibleRooms(level.rooms[3], {3, 2});
        level.rooms[5] = BoxRoom("five", {-200, 50, -200}, {200, 250, 200});
        SetVisibleRooms(level.rooms[5], {5, 1});
        this->level = level;
        g_visibleRoomList = {0, 1};
        g_visibleRoomCount = 2;
        StartAt({0, 100, 0});
    }
    Level level;
};

TEST_F(RoomTracking, LastContainingRoomDecides) {
    InstallLevel(level);
    Frames(1);
    EXPECT_EQ(g_currentRoom, 5);
    ASSERT_NE(g_currentRoomName, nullptr);
    EXPECT_STREQ(g_currentRoomName, "five");
    EXPECT_EQ(g_currentRoomName, g_level.rooms[5].name.c_str());  // points at the room's own name
    EXPECT_EQ(VisibleRooms(), (std::vector<std::uint16_t>{5, 1}));
}

TEST_F(RoomTracking, EmptyListLeavesTheEarlierRoomsListInForce) {
    SetVisibleRooms(level.rooms[5], {});
    InstallLevel(level);
    Frames(1);
    EXPECT_EQ(g_currentRoom, 5);
    EXPECT_EQ(VisibleRooms(), (std::vector<std::uint16_t>{3, 2}));
}

TEST_F(RoomTracking, ListIsTakenOverEveryFrame) {
    InstallLevel(level);
    Frames(1);
    g_visibleRoomList.assign({4});
    g_visibleRoomCount = 1;
    Frames(1);
    EXPECT_EQ(VisibleRooms(), (std::vector<std::uint16_t>{5, 1}));
}

TEST_F(RoomTracking, OutsideEveryRoomTheLastRoomStaysInForce) {
    InstallLevel(level);
    Frames(1);
    g_player.position = {-9000, 100, 0};
    Frames(1);
    EXPECT_EQ(g_currentRoom, 5);
    EXPECT_STREQ(g_currentRoomName, "five");
    EXPECT_EQ(VisibleRooms(), (std::vector<std::uint16_t>{5, 1}));
}

TEST_F(RoomTracking, BeforeAnyRoomTheStartupListStays) {
    InstallLevel(level);
    g_player.position = {-9000, 100, 0};
    Frames(1);
    EXPECT_EQ(g_currentRoomName, nullptr);
    EXPECT_EQ(g_currentRoom, 0);
    EXPECT_EQ(VisibleRooms(), (std::vector<std::uint16_t>{0, 1}));
}

TEST_F(RoomTracking, ExactlyOnABoxFaceIsOutside) {
    InstallLevel(level);
    const Room& three = g_level.rooms[3];
    EXPECT_TRUE(RoomContains(three, {499.9f, 100, 0}));
    EXPECT_FALSE(RoomContains(three, {500, 100, 0}));
    EXPECT_FALSE(RoomContains(three, {0, 0, 0}));
    EXPECT_FALSE(RoomContains(three, {0, 100, -500}));
    EXPECT_FALSE(RoomContains(three, {0, 300, 0}));

    // On room three's max-x face: inside no room, so its +x wall does not push although it is
    // nearer than the radius.
    g_player.position = {500, 100, 0};
    Frames(1);
    EXPECT_EQ(g_currentRoomName, nullptr);
    EXPECT_EQ(g_player.position.x, 500.0f);
}

TEST_F(RoomTracking, EachRoomTestsThePositionTheEarlierRoomsLeft) {
    // Room one overlaps the strip of room zero next to zero's +x wall; zero's wall pushes the
    // player out of one's box before one is tested.
    Level two;
    Room zero = BoxRoom("zero", {-500, 0, -500}, {500, 300, 500});
    SetVisibleRooms(zero, {0});
    Room one = BoxRoom("one", {480, 0, -500}, {1500, 300, 500});
    SetVisibleRooms(one, {1, 0});
    AddRoom(two, zero);
    AddRoom(two, one);
    InstallLevel(two);
    g_player.position = {490, 100, 0};
    Frames(1);
    EXPECT_FLOAT_EQ(g_player.position.x, 475.0f);
    EXPECT_EQ(g_currentRoom, 0);
    EXPECT_EQ(VisibleRooms(), (std::vector<std::uint16_t>{0}));
}

TEST_F(RoomTracking, OverlappingRoomsBothCollide) {
    InstallLevel(level);
    // Near room five's floor (y = 50) and inside room three: five pushes the player up to 75.
    g_player.position = {0, 60, 0};
    Frames(1);
    EXPECT_FLOAT_EQ(g_player.position.y, 75.0f);
}

TEST_F(RoomTracking, SurfacesBeyondTheCountInUseAreNotCollided) {
    Room& three = level.rooms[3];
    three.surfaces.push_back(test::Quad("spare", {-500, 100, -500}, {-500, 100, 500}, {500, 100, 500}, {500, 100, -500}));
    InstallLevel(level);
    g_player.position = {0, 110, 0};
    g_level.rooms[5] = Room{};  // leave room three alone round the player
    Frames(1);
    EXPECT_EQ(g_player.position.y, 110.0f);
}

}  // namespace
}  // namespace brontal
