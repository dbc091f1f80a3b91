// The animation states driven by their events: the ranges each action plays, the rates, and the
// movement and gravity that come with them.
#include <gtest/gtest.h>

#include <algorithm>

#include "player/animation.h"
#include "player/frame_update.h"
#include "player/player.h"

namespace brontal {
namespace {

constexpr float kDt = 0.01f;

class Animation : public ::testing::Test {
protected:
    void SetUp() override { ResetSimulation(); }
    void TearDown() override { ResetSimulation(); }

    // One frame's events as the steering step raises them, then the step.
    void Frame(bool up, bool down = false, bool left = false) {
        if (up) ForwardHeld();
        else ForwardReleased();
        if (down) BackHeld();
        if (left) TurnHeld(TurnSide::Left, kDt);
        StepAnimation(kDt);
    }
    void Run() {
        g_animation.running = 1;
        g_animation.moveKeyActive = 5;
        g_animation.forwardFrames = 8;
        g_animation.animStart = 86;
        g_animation.animEnd = 107;
    }
};

TEST_F(Animation, StandingLoopsOneToSixtyNineWithoutMoving) {
    g_player.position = {10, 20, 30};
    float highest = 0;
    int wraps = 0;
    for (int i = 0; i < 700; ++i) {
        const float before = g_player.animFrame;
        Frame(false);
        if (g_player.animFrame < before) {
            ++wraps;
            EXPECT_EQ(g_player.animFrame, 1.0f);
        }
        highest = std::max(highest, g_player.animFrame);
    }
    EXPECT_LT(highest, 69.0f);
    EXPECT_EQ(wraps, 2);  // 68 frames at 20 per second: a loop every 3.4 s
    EXPECT_EQ(g_player.position.x, 10.0f);
    EXPECT_EQ(g_player.position.y, 20.0f);
    EXPECT_EQ(g_player.position.z, 30.0f);
}

TEST_F(Animation, RunStartsOnTheThirdFrameTheKeyIsHeld) {
    Frame(true);
    Frame(true);
    EXPECT_EQ(g_animation.running, 0);
    EXPECT_EQ(g_player.position.z, 0.0f);
    Frame(true);
    EXPECT_EQ(g_animation.running, 1);
    EXPECT_EQ(g_animation.animStart, 70);
    EXPECT_EQ(g_animation.animEnd, 85);
    EXPECT_EQ(g_player.animFrame, 70.0f);
    EXPECT_FLOAT_EQ(g_player.position.z, 1.8f);   // 180 per second along forward
    EXPECT_FLOAT_EQ(g_player.position.y, -0.8f);  // falling 80 per second
    for (int i = 0; i < 50; ++i) Frame(true);
    EXPECT_EQ(g_animation.animStart, 86);
    EXPECT_EQ(g_animation.animEnd, 107);
    EXPECT_GE(g_player.animFrame, 86.0f);
    EXPECT_LT(g_player.animFrame, 107.0f);
    EXPECT_NEAR(g_player.position.z, 51 * 1.8f, 1e-3f);
    EXPECT_EQ(g_player.position.x, 0.0f);
}

TEST_F(Animation, RunMovesAlongForwardInXAndZOnly) {
    g_player.forward = {0.6f, 0.0f, -0.8f};
    Run();
    g_player.animFrame = 90.0f;
    Frame(true);
    EXPECT_FLOAT_EQ(g_player.position.x, 1.08f);
    EXPECT_FLOAT_EQ(g_player.position.z, -1.44f);
}

TEST_F(Animation, ReleasedAtNinetyPlaysTheEarlyStopAndSlides) {
    Run();
    g_player.animFrame = 90.0f;
    Frame(false);
    EXPECT_EQ(g_animation.running, 0);
    EXPECT_EQ(g_animation.stopping, 1);
    EXPECT_EQ(g_animation.animStart, 124);
    EXPECT_EQ(g_animation.animEnd, 140);
    EXPECT_FLOAT_EQ(g_player.animFrame, 124.3f);
    EXPECT_FLOAT_EQ(g_player.position.z, 0.54f);  // 54 per second
    EXPECT_FLOAT_EQ(g_player.position.y, -1.6f);  // the choice and the slide each apply gravity
    int frames = 1;
    while (g_animation.animStart != 1 && frames < 200) {
        Frame(false);
        ++frames;
    }
    EXPECT_NEAR(frames, 54, 1);  // 16 frames at 30 per second
    EXPECT_EQ(g_animation.stopping, 0);
    EXPECT_EQ(g_player.animFrame, 1.0f);
}

TEST_F(Animation, ReleasedAtAHundredPlaysTheLateStop) {
    Run();
    g_player.animFrame = 100.0f;
    Frame(false);
    EXPECT_EQ(g_animation.animStart, 108);
    EXPECT_EQ(g_animation.animEnd, 123);
    EXPECT_FLOAT_EQ(g_player.animFrame, 108.3f);
    EXPECT_EQ(g_animation.stopping, 1);
}

TEST_F(Animation, OverlapOfTheStopChoicesGoesToTheEarlyStop) {
    Run();
    g_player.animFrame = 97.5f;
    Frame(false);
    EXPECT_EQ(g_animation.animStart, 124);
}

TEST_F(Animation, ReleasedDuringTheRunStartRunsOnToTheRunRange) {
    Frame(true);
    Frame(true);
    Frame(true);
    ASSERT_EQ(g_player.animFrame, 70.0f);
    Frame(false);
    EXPECT_EQ(g_animation.running, 1);
    int frames = 0;
    while (g_animation.running == 1 && frames < 100) {
        Frame(false);
        ++frames;
    }
    EXPECT_EQ(g_animation.animStart, 124);  // reached the run range at 86: the early stop
    EXPECT_NEAR(frames, 46, 2);
}

TEST_F(Animation, HoldingUpDuringAStopWaitsForItsEnd) {
    Run();
    g_player.animFrame = 90.0f;
    Frame(false);
    int frames = 0;
    while (g_animation.stopping == 1 && frames < 200) {
        Frame(true);
        EXPECT_EQ(g_animation.running, 0);
        ++frames;
    }
    Frame(true);
    EXPECT_EQ(g_animation.running, 1);  // the key count went on meanwhile
}

TEST_F(Animation, BackStepEndsInStandAndStartsAgainWhileDownIsHeld) {
    BackHeld();
    g_player.animFrame = 229.0f;
    StepAnimation(kDt);
    EXPECT_EQ(g_animation.backStepping, 0);
    EXPECT_EQ(g_animation.animStart, 1);
    EXPECT_FLOAT_EQ(g_player.animFrame, 1.2f);  // reset to stand, then the stand rule
    Frame(false, true);
    EXPECT_EQ(g_animation.animStart, 203);
    EXPECT_FLOAT_EQ(g_player.animFrame, 203.3f);
}

TEST_F(Animation, TwoGravityStepsInOneFrameFallTwice) {
    Run();
    BackHeld();
    g_player.animFrame = 205.0f;
    StepAnimation(kDt);
    EXPECT_FLOAT_EQ(g_player.position.y, -1.6f);
}

TEST_F(Animation, TurnLoopsWhileHeldAndStandsOnRelease) {
    Frame(false, false, true);
    EXPECT_EQ(g_animation.animStart, 141);
    EXPECT_EQ(g_animation.animEnd, 171);
    EXPECT_FLOAT_EQ(g_player.animFrame, 141.3f);
    bool looped = false;
    for (int i = 0; i < 150; ++i) {
        const float before = g_player.animFrame;
        Frame(false, false, true);
        EXPECT_GE(g_player.animFrame, 141.0f);
        EXPECT_LT(g_player.animFrame, 171.0f);
        if (g_player.animFrame < before) looped = true;
    }
    EXPECT_TRUE(looped);
    Frame(false);
    EXPECT_EQ(g_animation.animStart, 1);
    EXPECT_FLOAT_EQ(g_player.animFrame, 1.2f);  // reset to stand, then the stand rule
    EXPECT_EQ(g_player.position.z, 0.0f);
}

TEST_F(Animation, RightTurnPlaysItsOwnRange) {
    TurnHeld(TurnSide::Right, kDt);
    EXPECT_EQ(g_animation.animStart, 172);
    EXPECT_EQ(g_animation.animEnd, 202);
    EXPECT_FLOAT_EQ(g_player.animFrame, 172.3f);
}

TEST_F(Animation, TurningWhileRunningChangesNothing) {
    Run();
    g_player.animFrame = 95.0f;
    TurnHeld(TurnSide::Left, kDt);
    EXPECT_EQ(g_animation.animStart, 86);
    EXPECT_EQ(g_animation.moveKeyActive, 5);
    EXPECT_EQ(g_player.animFrame, 95.0f);
    g_animation.running = 0;
    g_animation.stopping = 1;
    TurnHeld(TurnSide::Right, kDt);
    EXPECT_EQ(g_player.animFrame, 95.0f);
}

TEST_F(Animation, FrameStepKeyWrapsPastTwoTwentyNine) {
    g_player.animFrame = 227.5f;
    FrameStepKey();
    EXPECT_EQ(g_player.animFrame, 228.5f);
    FrameStepKey();
    EXPECT_EQ(g_player.animFrame, 0.0f);  // 229.5 is above 229
    g_player.animFrame = 228.0f;
    FrameStepKey();
    EXPECT_EQ(g_player.animFrame, 229.0f);  // not above 229 yet
    g_player.animFrame = 0.0f;
    StepAnimation(kDt);
    EXPECT_FLOAT_EQ(g_player.animFrame, 0.2f);
}

TEST_F(Animation, ProductsAreFloatsLeftToRight) {
    // At the first frame's 1/30 s, dt * 18 * (10 * forward.z) and dt * 20 * gravityFactor as
    // 32-bit floats differ from the same sums folded or taken in double.
    const float dt = 1.0f / 30.0f;
    Run();
    g_player.animFrame = 90.0f;
    ForwardHeld();
    StepAnimation(dt);
    float along = dt * 18.0f;
    along = along * 10.0f;
    float fall = dt * 20.0f;
    fall = fall * 4.0f;
    EXPECT_EQ(g_player.position.z, along);
    EXPECT_NE(g_player.position.z, dt * 180.0f);
    EXPECT_EQ(g_player.position.y, -fall);
}

}  // namespace
}  // namespace brontal
