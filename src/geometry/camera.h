#pragma once
// The chase camera. It eases toward a place 160 behind and 60 above the followed point, aimed
// along the player's heading; follows the player's position with a lag; swings round the
// player once no arrow key has been pressed for five seconds; turns to a free-look orientation
// while Numpad 0 is held; and jumps to the front side while "1" is held. It starts on the far
// side of the player (offset z -160) and glides round behind it.
//
// The smoothing factors dt * 2.6 are not clamped: a frame longer than 1/2.6 s overshoots. The
// free-look pitch and the idle orbit's aim change per frame, not per second.
#include "math/types.h"

namespace brontal {

// The keys the rig reads, as held at the moment of the frame update.
struct CameraKeys {
    bool freeLook = false;  // Numpad 0
    bool left = false;
    bool up = false;
    bool right = false;
    bool down = false;
    bool front = false;  // "1"
};

inline constexpr Matrix4x4 kIdentityMatrix = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

struct ChaseCamera {
    Vector3 offset{0.0f, 60.0f, -160.0f};  // camera-rotation space; z is used negated (+z is behind)
    Quaternion orientation{0.0f, 0.0f, 0.0f, 1.0f};
    Vector3 followPoint{};       // lagging copy of the player's position
    float cameraYaw = 0.0f;      // radians, the aim in normal mode
    float idleTime = 0.0f;       // 20 per second without an arrow key; the orbit starts above 100
    float lookPitch = 0.0f;      // radians, free look, kept within [-1, 1]
    float lookRoll = 0.0f;       // radians, free look
    Matrix4x4 cameraMatrix = kIdentityMatrix;  // the camera's placement in the world
    Matrix4x4 viewMatrix = kIdentityMatrix;    // inverse of cameraMatrix, the device's view
};

extern ChaseCamera g_chaseCamera;

// Eases the rig and builds cameraMatrix. heading is the player's, already turned this frame.
void UpdateCameraRig(float dt, const Vector3& playerPosition, float heading, const CameraKeys& keys);

// Inverts cameraMatrix into viewMatrix (keeping the old view if it will not invert) and sets it
// as the device's view transform.
void ApplyView();

}  // namespace brontal
