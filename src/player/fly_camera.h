#pragma once
// The flying camera of preview runs (--fly): a free camera for looking round a level, in place
// of the figure and its chase camera. Walls, floors and gravity do not hold it. Up and Down move
// it along its heading, Left and Right turn it, Page Up and Page Down move it straight up and
// down, all by the second whatever the frame rate; P puts it back at the level's start. Room
// tracking follows the camera's own position (visible rooms, sky, HUD room name) without
// collision. The figure stays where it was and is not drawn.
#include "math/types.h"

namespace brontal {

inline constexpr float kFlySpeed = 360.0f;      // units per second along the heading
inline constexpr float kFlyClimbSpeed = 240.0f;  // units per second up or down
inline constexpr float kFlyTurnRate = 1.6f;      // radians per second

struct FlyCamera {
    bool on = false;
    Vector3 position{};
    float heading = 0.0f;  // radians about +y, as the player's: 0 looks along +z, grows turning right
};

extern FlyCamera g_flyCamera;

// Turns the flying camera on at position, looking along heading.
void StartFlyCamera(const Vector3& position, float heading);

// The frame update of a flying run, in place of UpdateFrame: keys, room tracking from the
// camera, the view (also kept in g_chaseCamera.cameraMatrix, where the state log reads the
// camera) and the frame timer's tick. Needs g_frameTimer.
void UpdateFlyFrame();

}  // namespace brontal
