#pragma once
// The player and the process-wide state the frame update keeps about where it is. The player
// is an animated figure seen from behind; it walks because its animation plays (animation.h),
// not by a free velocity, and is drawn 25 below its position (the bottom of the collision
// sphere).
#include <cstdint>
#include <vector>

#include "math/types.h"

namespace brontal {

struct Player {
    Vector3 position{};            // world units
    float heading = 0.0f;          // radians about +y; grows when turning right
    float lean = 0.0f;             // radians about z, while turning during a forward walk
    float turnThisFrame = 0.0f;    // radians, the heading change of the current frame
    float animFrame = 1.0f;        // animation frame of the figure
    Vector3 forward{0.0f, 0.0f, 1.0f};  // horizontal unit walking direction
    Vector3 up{0.0f, 1.0f, 0.0f};       // the axis forward turns about
};

extern Player g_player;

// The room the player was last found in; the name is null until the player is first found in a
// room and then points at that room's name in g_level.
extern std::uint16_t g_currentRoom;
extern const char* g_currentRoomName;

// The rooms drawn this frame. Taken over from the current room every frame it has a non-empty
// list; a room with an empty list leaves the previous list in force, so it never empties once
// set. Replacing it reuses the vector's storage: no allocation once the capacity is reached.
extern std::uint16_t g_visibleRoomCount;
extern std::vector<std::uint16_t> g_visibleRoomList;

void InitPlayer(const Vector3& startPosition, float heading);

// Bit 15 of GetAsyncKeyState: the key is held. Each call polls afresh.
bool IsKeyDown(int virtualKey);

}  // namespace brontal
