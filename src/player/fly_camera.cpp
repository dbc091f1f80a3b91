#include "player/fly_camera.h"

#include <cmath>

#include "geometry/camera.h"
#include "level/world.h"
#include "math/matrix.h"
#include "player/player.h"
#include "player/room_tracking.h"
#include "shell/frame_timer.h"
#include "shell/keys.h"

namespace brontal {

FlyCamera g_flyCamera;

namespace {

void SteerFlyCamera(FlyCamera& camera, float dt) {
    if (IsKeyDown(VK_P)) camera.position = g_level.startPosition;
    if (IsKeyDown(VK_LEFT)) camera.heading -= kFlyTurnRate * dt;
    if (IsKeyDown(VK_RIGHT)) camera.heading += kFlyTurnRate * dt;
    float along = 0.0f, climb = 0.0f;
    if (IsKeyDown(VK_UP)) along += kFlySpeed * dt;
    if (IsKeyDown(VK_DOWN)) along -= kFlySpeed * dt;
    if (IsKeyDown(VK_PRIOR)) climb += kFlyClimbSpeed * dt;
    if (IsKeyDown(VK_NEXT)) climb -= kFlyClimbSpeed * dt;
    camera.position.x += std::sin(camera.heading) * along;
    camera.position.z += std::cos(camera.heading) * along;
    camera.position.y += climb;
}

}  // namespace

void StartFlyCamera(const Vector3& position, float heading) {
    g_flyCamera.on = true;
    g_flyCamera.position = position;
    g_flyCamera.heading = heading;
}

void UpdateFlyFrame() {
    const float dt = g_frameTimer->GetSecondsPerFrame();
    SteerFlyCamera(g_flyCamera, dt);
    TrackRooms(g_level, g_flyCamera.position);
    Matrix4x4 place;
    MatrixRotationY(&g_chaseCamera.cameraMatrix, g_flyCamera.heading);
    MatrixTranslation(&place, g_flyCamera.position.x, g_flyCamera.position.y, g_flyCamera.position.z);
    MatrixMultiply(&g_chaseCamera.cameraMatrix, &g_chaseCamera.cameraMatrix, &place);
    ApplyView();
    g_frameTimer->Tick();
}

}  // namespace brontal
