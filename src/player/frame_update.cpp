#include "player/frame_update.h"

#include "device/device.h"
#include "geometry/camera.h"
#include "level/world.h"
#include "math/matrix.h"
#include "math/vector3.h"
#include "player/animation.h"
#include "player/collision_cache.h"
#include "player/fly_camera.h"
#include "player/player.h"
#include "player/room_tracking.h"
#include "shell/frame_timer.h"
#include "shell/keys.h"

namespace brontal {

namespace {

constexpr float kLeanStep = 0.01f;  // per frame while turning during a forward walk
constexpr float kLeanLimit = 0.3f;
constexpr float kLeanDecayRate = 5.0f;

void MipFilterKey() {
    if (IsKeyDown(VK_M) && g_device) g_device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);
}

// Back to the start before collision runs, so a player stuck in a wall gets out the same frame.
void ReturnToStartKey() {
    if (IsKeyDown(VK_P)) g_player.position = g_level.startPosition;
}

void DecayLean(float dt) { g_player.lean = g_player.lean + (0.0f - g_player.lean) * dt * kLeanDecayRate; }

void Turn(TurnSide side, float dt) {
    const float turn = dt * 33.0f * 0.07f;  // 2.31 radians per second
    if (side == TurnSide::Left) {
        if (IsKeyDown(VK_UP)) {
            g_player.lean += kLeanStep;
            if (g_player.lean > kLeanLimit) g_player.lean -= kLeanStep;
        }
        g_player.heading -= turn;
        g_player.turnThisFrame -= turn;
    } else {
        if (IsKeyDown(VK_UP)) {
            g_player.lean -= kLeanStep;
            if (g_player.lean < -kLeanLimit) g_player.lean += kLeanStep;
        }
        g_player.heading += turn;
        g_player.turnThisFrame += turn;
    }
    TurnHeld(side, dt);
}

// The arrow keys, unless free look has them for the camera.
void SteerPlayer(float dt) {
    if (IsKeyDown(VK_NUMPAD0)) return;
    if (IsKeyDown(VK_UP)) {
        ForwardHeld();
        if (!IsKeyDown(VK_LEFT) && !IsKeyDown(VK_RIGHT)) DecayLean(dt);
    } else {
        DecayLean(dt);
        ForwardReleased();
    }
    if (IsKeyDown(VK_DOWN)) BackHeld();
    if (IsKeyDown(VK_LEFT)) Turn(TurnSide::Left, dt);
    if (IsKeyDown(VK_RIGHT)) Turn(TurnSide::Right, dt);
}

// Decided on the mode read before the change, so each frame with W held flips exactly once.
void FillModeKey() {
    if (!IsKeyDown(VK_W) || !g_device) return;
    std::uint32_t mode = 0;
    g_device->GetRenderState(D3DRS_FILLMODE, &mode);
    if (mode == D3DFILL_SOLID) g_device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    else if (mode == D3DFILL_WIREFRAME) g_device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
}

CameraKeys PollCameraKeys() {
    CameraKeys keys;
    keys.freeLook = IsKeyDown(VK_NUMPAD0);
    keys.left = IsKeyDown(VK_LEFT);
    keys.up = IsKeyDown(VK_UP);
    keys.right = IsKeyDown(VK_RIGHT);
    keys.down = IsKeyDown(VK_DOWN);
    keys.front = IsKeyDown(VK_1);
    return keys;
}

void FrameStepKeyCheck() {
    if (IsKeyDown(VK_X)) FrameStepKey();
}

// up stays (0, 1, 0), so forward stays horizontal and of unit length.
void TurnWalkingDirection() {
    Matrix4x4 rotation;
    MatrixRotationAxis(&rotation, &g_player.up, g_player.turnThisFrame);
    Vec3TransformCoord(&g_player.forward, &g_player.forward, &rotation);
}

}  // namespace

void UpdateFrame() {
    const float dt = g_frameTimer->GetSecondsPerFrame();
    MipFilterKey();
    ReturnToStartKey();
    g_player.turnThisFrame = 0.0f;
    SteerPlayer(dt);
    FillModeKey();
    UpdateCameraRig(dt, g_player.position, g_player.heading, PollCameraKeys());
    StepAnimation(dt);
    TrackRoomsAndCollide(g_level, g_player.position);
    ApplyView();
    FrameStepKeyCheck();
    TurnWalkingDirection();
    g_frameTimer->Tick();
}

void ResetSimulation() {
    g_player = Player{};
    g_animation = AnimationState{};
    g_chaseCamera = ChaseCamera{};
    g_flyCamera = FlyCamera{};
    g_currentRoom = 0;
    g_currentRoomName = nullptr;
    g_visibleRoomCount = 0;
    g_visibleRoomList.clear();
    ClearCollisionCache();
}

}  // namespace brontal
