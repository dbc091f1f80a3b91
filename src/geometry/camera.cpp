#include "geometry/camera.h"

#include "device/device.h"
#include "math/matrix.h"
#include "math/quaternion.h"
#include "math/vector3.h"

namespace brontal {

ChaseCamera g_chaseCamera;

namespace {

constexpr float kEaseRate = 2.6f;  // of the remaining way per second
constexpr Vector3 kChaseOffset{0.0f, 60.0f, 160.0f};
constexpr Vector3 kOrbitOffset{0.0f, 40.0f, 100.0f};
constexpr Vector3 kFrontOffset{0.0f, 60.0f, -150.0f};
constexpr float kFreeLookDistance = 100.0f;
constexpr float kPitchStep = 0.1f;  // per frame
constexpr float kPitchLimit = 1.0f;
constexpr float kIdleRate = 20.0f;
constexpr float kIdleOrbitThreshold = 100.0f;  // five seconds at kIdleRate

// Free look: the arrow keys pitch and roll the view about the player's heading.
Quaternion FreeLookTarget(ChaseCamera& camera, float heading, const CameraKeys& keys) {
    camera.idleTime = 0.0f;
    camera.offset.z = kFreeLookDistance;
    camera.lookRoll = 0.0f;
    if (keys.left) camera.lookRoll += 1.0f;
    if (keys.right) camera.lookRoll -= 1.0f;
    if (keys.up) {
        camera.lookPitch += kPitchStep;
        if (camera.lookPitch > kPitchLimit) camera.lookPitch -= kPitchStep;
    }
    if (keys.down) {
        camera.lookPitch -= kPitchStep;
        if (camera.lookPitch < -kPitchLimit) camera.lookPitch += kPitchStep;
    }
    Quaternion target;
    QuaternionRotationYawPitchRoll(&target, heading, camera.lookPitch, camera.lookRoll);
    return target;
}

// Normal mode: aim along the heading; after five idle seconds, circle the player instead.
Quaternion ChaseTarget(ChaseCamera& camera, float dt, float heading, const CameraKeys& keys) {
    camera.lookPitch = 0.0f;
    if (keys.up || keys.left || keys.right || keys.down) camera.idleTime = 0.0f;
    if (camera.idleTime == 0.0f) camera.cameraYaw = heading;
    camera.idleTime += dt * kIdleRate;
    if (camera.idleTime > kIdleOrbitThreshold) {
        camera.cameraYaw += dt * 33.0f * 0.01f;
        camera.offset = kOrbitOffset;
    }
    const Vector3 up{0.0f, 1.0f, 0.0f};
    Quaternion target;
    QuaternionRotationAxis(&target, &up, camera.cameraYaw);
    return target;
}

}  // namespace

void UpdateCameraRig(float dt, const Vector3& playerPosition, float heading, const CameraKeys& keys) {
    ChaseCamera& camera = g_chaseCamera;
    const float ease = dt * kEaseRate;
    Vec3Lerp(&camera.offset, &camera.offset, &kChaseOffset, ease);

    const Quaternion target = keys.freeLook ? FreeLookTarget(camera, heading, keys) : ChaseTarget(camera, dt, heading, keys);
    if (keys.front) camera.offset = kFrontOffset;

    QuaternionSlerp(&camera.orientation, &camera.orientation, &target, ease);

    Matrix4x4 rotation;
    MatrixTranslation(&camera.cameraMatrix, camera.offset.x, camera.offset.y, -camera.offset.z);
    MatrixMultiply(&camera.cameraMatrix, &camera.cameraMatrix, MatrixRotationQuaternion(&rotation, &camera.orientation));
    Vec3Lerp(&camera.followPoint, &camera.followPoint, &playerPosition, ease);
    Matrix4x4 follow;
    MatrixTranslation(&follow, camera.followPoint.x, camera.followPoint.y, camera.followPoint.z);
    MatrixMultiply(&camera.cameraMatrix, &camera.cameraMatrix, &follow);
}

void ApplyView() {
    MatrixInverse(&g_chaseCamera.viewMatrix, nullptr, &g_chaseCamera.cameraMatrix);
    if (g_device) g_device->SetTransform(D3DTS_VIEW, &g_chaseCamera.viewMatrix);
}

}  // namespace brontal
