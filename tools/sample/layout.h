#pragma once
// The plan of the sample level. Rooms follow each other northwards (+z) from the entrance hall,
// where the player starts looking north. Walls between rooms are 40 thick; a doorway is a passage
// through that thickness whose surfaces belong to both rooms, so the rooms' boxes overlap there
// and the player is tracked from one room into the next.
//
//   0 Entrance Hall   x -320..320   z -320..300   floor 0, ceiling 320
//   1 Long Corridor   x  -80..80    z  340..1160  ceiling 240
//   2 Library         x -760..-120  z  380..900   ceiling 280      (west of the corridor)
//   3 Stair Hall      x  120..760   z  380..780   ceiling 400      (east; a ramp up to the gallery)
//                     the ramp rises eastwards along z 680..780 from x 260 to a landing at x 640..760
//   4 Upper Gallery   x  120..760   z  780..1000  floor 150, ceiling 400
//   5 Courtyard       x -400..400   z 1200..1800  open to the sky
//   6 Walled Garden   x -400..400   z 1840..2440  open to the sky, behind an iron fence
#include <cstdint>
#include <vector>

#include "level/world.h"
#include "sample/mesh_builder.h"

namespace brontal::sample {

enum RoomSlot : std::uint16_t {
    kRoomHall,
    kRoomCorridor,
    kRoomLibrary,
    kRoomStairHall,
    kRoomGallery,
    kRoomCourtyard,
    kRoomGarden,
    kRoomCount
};

inline constexpr float kDoorHeight = 180.0f;
inline constexpr float kGalleryFloor = 150.0f;
inline constexpr Vector3 kStartPosition{0.0f, 28.0f, -200.0f};

// Doorway passages (see PassageSurfaces).
inline constexpr float kHallDoorZ0 = 300.0f, kHallDoorZ1 = 340.0f;
inline constexpr float kSideDoorZ0 = 580.0f, kSideDoorZ1 = 700.0f;
inline constexpr float kNorthDoorZ0 = 1160.0f, kNorthDoorZ1 = 1200.0f;
inline constexpr float kFenceZ0 = 1800.0f, kFenceZ1 = 1840.0f, kGateHalfWidth = 60.0f;

// The surfaces both rooms of a doorway hold.
std::vector<Surface> HallCorridorDoor();
std::vector<Surface> LibraryDoor();
std::vector<Surface> StairHallDoor();
std::vector<Surface> CourtyardDoor();
std::vector<Surface> FenceAndGate();
std::vector<Surface> RampTop();  // the landing at the ramp's top

// Each room with its surfaces, objects, lights and sky flag (the visible lists are computed
// from the whole level, see sample_level.cpp).
Room BuildHall();
Room BuildCorridor();
Room BuildLibrary();
Room BuildStairHall();
Room BuildGallery();
Room BuildCourtyard();
Room BuildGarden();

}  // namespace brontal::sample
