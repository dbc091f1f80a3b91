// A frame of the simulation allocates nothing once the visible-room list has its capacity: the
// collision reads the level's vertices in place.
#include <gtest/gtest.h>


#include "sim_world.h"
#include "support/heap_allocations.h"

namespace brontal {
namespace {

using test::AddBoxModel;
using test::AddRoom;
using test::BoxRoom;
using test::InstallLevel;
using test::PlaceObject;
using test::SetVisibleRooms;
using test::Simulation;

class SimulationAllocations : public Simulation {};

TEST_F(SimulationAllocations, NoneWhileRunningThroughOverlappingRooms) {
    Level level;
    Room hall = BoxRoom("hall", {-500, 0, -500}, {500, 300, 500});
    SetVisibleRooms(hall, {0, 1, 2});
    PlaceObject(hall, AddBoxModel(level, {-20, 0, -20}, {20, 60, 20}, true), {0, 0, 300});
    Room nook = BoxRoom("nook", {-100, 0, -100}, {100, 200, 100});
    SetVisibleRooms(nook, {1, 0, 2, 3, 4});
    AddRoom(level, hall);
    AddRoom(level, nook);
    InstallLevel(level);
    StartAt({0, 25, -300});
    g_visibleRoomList = {0, 1};
    g_visibleRoomCount = 2;
    Hold(VK_UP);
    Hold(VK_LEFT);  // runs in a circle through both rooms
    Frames(50);

    const std::uint64_t before = test::HeapAllocations();
    Frames(500);
    const std::uint64_t during = test::HeapAllocations() - before;
    EXPECT_EQ(during, 0u);
    EXPECT_STRNE(g_currentRoomName, nullptr);
}

}  // namespace
}  // namespace brontal
