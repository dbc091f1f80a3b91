// The chase camera: the glide round at start, the idle orbit, free look, the front view and the
// view transform it hands to the device.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "device/device.h"
#include "geometry/camera.h"
#include "math/matrix.h"
#include "math/quaternion.h"

namespace brontal {
namespace {

constexpr float kDt = 0.01f;

Vector3 CameraPosition() {
    const Matrix4x4& m = g_chaseCamera.cameraMatrix;
    return {m.m[3][0], m.m[3][1], m.m[3][2]};
}

class ChaseCameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_chaseCamera = ChaseCamera{};
        g_chaseCamera.followPoint = player;
    }
    void Frames(int count, const CameraKeys& keys = {}, float heading = 0.0f) {
        for (int i = 0; i < count; ++i) UpdateCameraRig(kDt, player, heading, keys);
    }
    Vector3 player{300, 50, -200};
};

TEST_F(ChaseCameraTest, StartsOnTheFarSideAndGlidesBehindThePlayer) {
    Frames(1);
    EXPECT_GT(CameraPosition().z - player.z, 150.0f);  // 160 on the +z side, eased a little
    int passedAt = -1;
    for (int frame = 2; frame <= 100; ++frame) {
        Frames(1);
        if (passedAt < 0 && CameraPosition().z < player.z) passedAt = frame;
    }
    // Passing after about 0.27 s, about 93 per cent of the way (from +160 to -160) after a second.
    EXPECT_GE(passedAt, 26);
    EXPECT_LE(passedAt, 28);
    const float covered = (160.0f - (CameraPosition().z - player.z)) / 320.0f;
    EXPECT_NEAR(covered, 0.93f, 0.01f);
    EXPECT_NEAR(CameraPosition().x, player.x, 1e-3f);  // heading 0: straight behind
    EXPECT_NEAR(CameraPosition().y, player.y + 60.0f, 1e-3f);
}

TEST_F(ChaseCameraTest, FollowPointLagsThePlayer) {
    Frames(200);
    const Vector3 before = CameraPosition();
    player.x += 100.0f;
    Frames(1);
    EXPECT_NEAR(CameraPosition().x - before.x, 100.0f * kDt * 2.6f, 1e-3f);
    EXPECT_NEAR(g_chaseCamera.followPoint.x, player.x - 100.0f * (1.0f - kDt * 2.6f), 1e-3f);
}

TEST_F(ChaseCameraTest, IdleOrbitStartsAfterFiveSeconds) {
    Frames(490);
    EXPECT_EQ(g_chaseCamera.cameraYaw, 0.0f);
    EXPECT_NE(g_chaseCamera.offset.z, 100.0f);
    Frames(20);
    EXPECT_GT(g_chaseCamera.idleTime, 100.0f);
    EXPECT_EQ(g_chaseCamera.offset.x, 0.0f);
    EXPECT_EQ(g_chaseCamera.offset.y, 40.0f);
    EXPECT_EQ(g_chaseCamera.offset.z, 100.0f);
    const float yaw = g_chaseCamera.cameraYaw;
    EXPECT_GT(yaw, 0.0f);
    Frames(100);  // 0.33 radians per second
    EXPECT_NEAR(g_chaseCamera.cameraYaw - yaw, 0.33f, 1e-4f);
}

TEST_F(ChaseCameraTest, FirstArrowKeySnapsTheAimBackAndEasesTheOffset) {
    Frames(600);
    ASSERT_GT(g_chaseCamera.cameraYaw, 0.0f);
    CameraKeys left;
    left.left = true;
    Frames(1, left, -0.5f);
    EXPECT_EQ(g_chaseCamera.cameraYaw, -0.5f);
    EXPECT_EQ(g_chaseCamera.idleTime, kDt * 20.0f);
    EXPECT_GT(g_chaseCamera.offset.z, 100.0f);  // easing toward 160 again
    EXPECT_LT(g_chaseCamera.offset.z, 160.0f);
    Frames(1, {}, -0.5f);
    EXPECT_EQ(g_chaseCamera.cameraYaw, -0.5f);  // idle again, but the aim is not re-read
}

TEST_F(ChaseCameraTest, FreeLookPitchStopsJustAboveNinetenths) {
    CameraKeys keys;
    keys.freeLook = true;
    keys.up = true;
    Frames(9, keys);
    const float nine = g_chaseCamera.lookPitch;
    EXPECT_GT(nine, 0.9f);
    EXPECT_LT(nine, 0.9001f);
    Frames(20, keys);
    EXPECT_EQ(g_chaseCamera.lookPitch, nine);  // the tenth step (just above 1) is taken back every frame

    // Down from there the float steps land exactly on -1, which the strict test keeps.
    keys.up = false;
    keys.down = true;
    Frames(40, keys);
    EXPECT_EQ(g_chaseCamera.lookPitch, -1.0f);
}

TEST_F(ChaseCameraTest, FreeLookPitchFromLevelStopsJustBelowMinusNinetenths) {
    CameraKeys keys;
    keys.freeLook = true;
    keys.down = true;
    Frames(30, keys);
    EXPECT_LT(g_chaseCamera.lookPitch, -0.9f);
    EXPECT_GT(g_chaseCamera.lookPitch, -0.9001f);
}

TEST_F(ChaseCameraTest, FreeLookPitchMayRestExactlyOnMinusOne) {
    CameraKeys keys;
    keys.freeLook = true;
    keys.down = true;
    g_chaseCamera.lookPitch = -0.9f;
    Frames(1, keys);
    ASSERT_EQ(g_chaseCamera.lookPitch, -1.0f);  // the limit test is strict
    Frames(1, keys);
    EXPECT_LT(g_chaseCamera.lookPitch, -0.9f);
    EXPECT_GE(g_chaseCamera.lookPitch, -1.0f);
}

TEST_F(ChaseCameraTest, FreeLookRollComesCloserAndResetsIdling) {
    Frames(50);
    CameraKeys keys;
    keys.freeLook = true;
    keys.left = true;
    Frames(1, keys);
    EXPECT_EQ(g_chaseCamera.lookRoll, 1.0f);
    EXPECT_EQ(g_chaseCamera.offset.z, 100.0f);
    EXPECT_EQ(g_chaseCamera.idleTime, 0.0f);
    keys.right = true;
    Frames(1, keys);
    EXPECT_EQ(g_chaseCamera.lookRoll, 0.0f);
    keys.right = false;
    Frames(300, keys);
    // The orientation has eased to the roll of 1 radian about the view axis.
    Quaternion target;
    QuaternionRotationYawPitchRoll(&target, 0.0f, 0.0f, 1.0f);
    EXPECT_NEAR(g_chaseCamera.orientation.z, target.z, 1e-3f);
    EXPECT_NEAR(g_chaseCamera.orientation.w, target.w, 1e-3f);
}

TEST_F(ChaseCameraTest, LeavingFreeLookAimsAtTheHeadingAgain) {
    CameraKeys keys;
    keys.freeLook = true;
    keys.up = true;
    Frames(3, keys, 1.0f);
    ASSERT_GT(g_chaseCamera.lookPitch, 0.0f);
    Frames(1, {}, 1.25f);
    EXPECT_EQ(g_chaseCamera.lookPitch, 0.0f);
    EXPECT_EQ(g_chaseCamera.cameraYaw, 1.25f);
}

TEST_F(ChaseCameraTest, FrontKeyHoldsTheCameraInFront) {
    Frames(100);
    CameraKeys front;
    front.front = true;
    Frames(30, front);
    EXPECT_EQ(g_chaseCamera.offset.x, 0.0f);
    EXPECT_EQ(g_chaseCamera.offset.y, 60.0f);
    EXPECT_EQ(g_chaseCamera.offset.z, -150.0f);
    EXPECT_GT(CameraPosition().z, player.z);  // in front, on the +z side
    Frames(1);
    EXPECT_GT(g_chaseCamera.offset.z, -150.0f);  // easing back behind
}

TEST_F(ChaseCameraTest, SmoothingIsNotClampedForLongFrames) {
    UpdateCameraRig(1.0f, player, 0.0f, {});
    // 2.6 of the remaining way: -160 + 2.6 * 320.
    EXPECT_NEAR(g_chaseCamera.offset.z, -160.0f + 2.6f * 320.0f, 1e-3f);
}

D3DPRESENT_PARAMETERS Parameters() {
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferWidth = 640;
    p.BackBufferHeight = 480;
    p.Windowed = 1;
    return p;
}

class ApplyViewTest : public ChaseCameraTest {
protected:
    void SetUp() override {
        ChaseCameraTest::SetUp();
        device = std::make_unique<Device>(std::make_unique<NullBackend>(), Parameters(), kDefaultCaps);
        device->SetRecorder(&recorder);
        g_device = device.get();
    }
    void TearDown() override { g_device = nullptr; }
    MemoryRecorder recorder;
    std::unique_ptr<Device> device;
};

TEST_F(ApplyViewTest, SetsTheInverseOfTheCameraMatrixAsTheView) {
    Frames(37, {}, 0.7f);
    ApplyView();
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].name, "SetTransform");
    Matrix4x4 view{};
    device->GetTransform(D3DTS_VIEW, &view);
    Matrix4x4 product;
    MatrixMultiply(&product, &g_chaseCamera.cameraMatrix, &view);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(product.m[r][c], r == c ? 1.0f : 0.0f, 1e-4f) << r << "," << c;
            EXPECT_EQ(view.m[r][c], g_chaseCamera.viewMatrix.m[r][c]);
        }
    }
}

TEST_F(ApplyViewTest, SingularCameraMatrixKeepsThePreviousView) {
    Frames(5);
    ApplyView();
    const Matrix4x4 previous = g_chaseCamera.viewMatrix;
    g_chaseCamera.cameraMatrix = Matrix4x4{};
    ApplyView();
    Matrix4x4 view{};
    device->GetTransform(D3DTS_VIEW, &view);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_EQ(view.m[r][c], previous.m[r][c]);
    }
}

}  // namespace
}  // namespace brontal
