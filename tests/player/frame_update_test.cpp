// UpdateFrame's steering, keys and device calls, and the order of its steps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_world.h"

namespace brontal {
namespace {

using test::Simulation;

class FrameUpdate : public Simulation {
protected:
    void SetUp() override {
        Simulation::SetUp();
        StartAt({0, 500, 0});  // outside every room: nothing holds the player up or back
        device->SetRecorder(&recorder);
    }
    std::vector<std::string> CallNames() const {
        std::vector<std::string> names;
        for (const RecordedCall& call : recorder.calls) names.push_back(call.name);
        return names;
    }
    MemoryRecorder recorder;
};

TEST_F(FrameUpdate, NoKeyWhileStandingChangesNothing) {
    Frames(50);
    EXPECT_EQ(g_player.position.x, 0.0f);
    EXPECT_EQ(g_player.position.y, 500.0f);
    EXPECT_EQ(g_player.position.z, 0.0f);
    EXPECT_EQ(g_player.turnThisFrame, 0.0f);
    EXPECT_EQ(g_player.forward.x, 0.0f);
    EXPECT_EQ(g_player.forward.z, 1.0f);
    EXPECT_EQ(g_player.heading, 0.0f);
}

TEST_F(FrameUpdate, HoldingLeftForASecondTurnsByTwoPointThreeOne) {
    Hold(VK_LEFT);
    Frames(100);
    EXPECT_NEAR(g_player.heading, -2.31f, 1e-4f);
    EXPECT_NEAR(g_player.forward.x, -0.739f, 1e-3f);
    EXPECT_NEAR(g_player.forward.z, -0.674f, 1e-3f);
    EXPECT_NEAR(g_player.forward.y, 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(g_player.turnThisFrame, -0.0231f);
    EXPECT_EQ(g_player.lean, 0.0f);  // leaning needs Up as well
}

TEST_F(FrameUpdate, TurnRateIsAFloatProductLeftToRight) {
    // (dt * 33) * 0.07 in 32-bit floats; at 1/23 s it differs from the product with a double
    // 0.07 and from the folded rate dt * 2.31, at 1/13 s from the product taken in double.
    Hold(VK_RIGHT);
    for (float rate : {23.0f, 13.0f}) {
        timer.Start(rate);
        g_player.heading = 0.0f;
        Frames(1);
        const float dt = 1.0f / rate;
        float turn = dt * 33.0f;
        turn = turn * 0.07f;
        EXPECT_EQ(g_player.heading, turn) << rate;
        const bool differsFromDoubleLiteral = turn != static_cast<float>(static_cast<double>(dt * 33.0f) * 0.07);
        const bool differsFromDouble = turn != static_cast<float>(static_cast<double>(dt) * 33.0 * 0.07);
        const bool differsFromFolded = turn != dt * 2.31f;
        EXPECT_TRUE(rate == 23.0f ? differsFromDoubleLiteral && differsFromFolded : differsFromDouble) << rate;
    }
}

TEST_F(FrameUpdate, LeanSettlesJustBelowThreeTenthsAndDecaysOnRelease) {
    Hold(VK_UP);
    Hold(VK_LEFT);
    Frames(1);
    EXPECT_FLOAT_EQ(g_player.lean, 0.01f);
    Frames(59);
    EXPECT_GE(g_player.lean, 0.29f);
    EXPECT_LE(g_player.lean, 0.3f);
    const float settled = g_player.lean;
    Hold(VK_LEFT, false);
    Frames(1);
    EXPECT_FLOAT_EQ(g_player.lean, settled - settled * kDt * 5.0f);
    Frames(200);
    EXPECT_LT(g_player.lean, 0.01f);
    EXPECT_GT(g_player.lean, 0.0f);
}

TEST_F(FrameUpdate, FreeLookKeepsTheArrowsFromThePlayer) {
    g_player.lean = 0.2f;
    Hold(VK_NUMPAD0);
    Hold(VK_LEFT);
    Hold(VK_UP);
    Frames(30);
    EXPECT_EQ(g_player.heading, 0.0f);
    EXPECT_EQ(g_player.lean, 0.2f);
    EXPECT_EQ(g_animation.forwardFrames, 0);
    EXPECT_EQ(g_player.position.z, 0.0f);
    EXPECT_EQ(g_chaseCamera.lookRoll, 1.0f);  // the camera has them instead
}

TEST_F(FrameUpdate, MipFilterKeySwitchesToLinear) {
    Frames(1);
    EXPECT_TRUE(recorder.calls.size() == 1u);  // only the view
    Hold(VK_M);
    recorder.Clear();
    Frames(1);
    ASSERT_GE(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].ToLine(), "SetTextureStageState 0 18 2");
    std::uint32_t value = 0;
    device->GetTextureStageState(0, D3DTSS_MIPFILTER, &value);
    EXPECT_EQ(value, static_cast<std::uint32_t>(D3DTEXF_LINEAR));
}

TEST_F(FrameUpdate, FillModeFlipsOncePerFrameWithWHeld) {
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    Hold(VK_W);
    std::uint32_t mode = 0;
    Frames(1);
    device->GetRenderState(D3DRS_FILLMODE, &mode);
    EXPECT_EQ(mode, static_cast<std::uint32_t>(D3DFILL_WIREFRAME));
    Frames(2);
    device->GetRenderState(D3DRS_FILLMODE, &mode);
    EXPECT_EQ(mode, static_cast<std::uint32_t>(D3DFILL_WIREFRAME));  // three flips from solid
    int sets = 0;
    for (const RecordedCall& call : recorder.calls) sets += call.name == "SetRenderState";
    EXPECT_EQ(sets, 4);  // the set-up's, then one per frame
}

TEST_F(FrameUpdate, FillModePointIsLeftAlone) {
    device->SetRenderState(D3DRS_FILLMODE, D3DFILL_POINT);
    Hold(VK_W);
    Frames(2);
    std::uint32_t mode = 0;
    device->GetRenderState(D3DRS_FILLMODE, &mode);
    EXPECT_EQ(mode, static_cast<std::uint32_t>(D3DFILL_POINT));
}

TEST_F(FrameUpdate, DeviceCallsComeInStepOrder) {
    Hold(VK_M);
    Hold(VK_W);
    recorder.Clear();
    Frames(1);
    EXPECT_EQ(CallNames(), (std::vector<std::string>{"SetTextureStageState", "GetRenderState", "SetRenderState",
                                                     "SetTransform"}));
    EXPECT_EQ(recorder.calls.back().arguments.size(), 2u);
    EXPECT_EQ(std::get<std::int64_t>(recorder.calls.back().arguments[0]), static_cast<std::int64_t>(D3DTS_VIEW));
}

TEST_F(FrameUpdate, ViewIsBuiltFromThePositionBeforeThisFramesMove) {
    Hold(VK_UP);
    Frames(10);  // running forward
    const Vector3 before = g_player.position;
    const Vector3 followBefore = g_chaseCamera.followPoint;
    Frames(1);
    ASSERT_NE(g_player.position.z, before.z);
    const float ease = kDt * 2.6f;
    EXPECT_FLOAT_EQ(g_chaseCamera.followPoint.z, followBefore.z + ease * (before.z - followBefore.z));
    Matrix4x4 view{};
    device->GetTransform(D3DTS_VIEW, &view);
    EXPECT_EQ(view.m[3][2], g_chaseCamera.viewMatrix.m[3][2]);
}

TEST_F(FrameUpdate, WalkingUsesTheDirectionTurnedLastFrame) {
    // Running, then Right: the frame's walk still goes along +z; the turn shows next frame.
    Hold(VK_UP);
    Frames(5);
    const Vector3 before = g_player.position;
    Hold(VK_RIGHT);
    Frames(1);
    EXPECT_EQ(g_player.position.x, before.x);
    EXPECT_GT(g_player.forward.x, 0.0f);
    const float x = g_player.position.x;
    Frames(1);
    EXPECT_GT(g_player.position.x, x);
}

TEST_F(FrameUpdate, FrameStepKeyRunsAfterTheAnimationStep) {
    Hold(VK_X);
    Frames(1);
    EXPECT_FLOAT_EQ(g_player.animFrame, 1.0f + 0.2f + 1.0f);
}

TEST_F(FrameUpdate, EachFrameUsesTheDurationOfThePreviousOne) {
    timer.Start(30.0f);  // the first frame runs at 1/30 s
    Hold(VK_RIGHT);
    Frames(1);
    EXPECT_FLOAT_EQ(g_player.heading, (1.0f / 30.0f) * 33.0f * 0.07f);
    Frames(1);  // measured: 1/100 s
    EXPECT_FLOAT_EQ(g_player.heading, (1.0f / 30.0f) * 33.0f * 0.07f + 0.0231f);
}

}  // namespace
}  // namespace brontal
