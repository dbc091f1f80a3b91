#include "player/animation.h"

#include "player/player.h"

namespace brontal {

AnimationState g_animation;

namespace {

constexpr float kStandEnd = 70.0f;  // the stand rule plays while animFrame is below this
constexpr auto kBackStepMovesAfter = static_cast<float>(kBackStepMoveFirst);
constexpr auto kBackStepMovesBefore = static_cast<float>(kBackStepMoveLast);
constexpr float kBackStepEndsAfter = 229.0f;
constexpr float kFrameStepWrapsAfter = 229.0f;

constexpr float kStandRate = 20.0f;
constexpr float kRunRate = 35.0f;
constexpr float kActionRate = 30.0f;  // stops, turns and the back-step

float AsFrame(std::int32_t frame) { return static_cast<float>(frame); }

void Play(std::int32_t first, std::int32_t last) {
    g_animation.animStart = first;
    g_animation.animEnd = last;
}

void ResetToStand() {
    g_player.animFrame = 1.0f;
    Play(kStandFirst, kStandLast);
}

float Gravity(float dt) { return dt * 20.0f * g_animation.gravityFactor; }

void BackStep(float dt) {
    float& frame = g_player.animFrame;
    g_player.position.y -= Gravity(dt);
    frame += dt * kActionRate;
    if (kBackStepMovesAfter < frame && frame < kBackStepMovesBefore) {
        const float back = dt * 10.0f * 14.0f;
        g_player.position.x -= g_player.forward.x * back;
        g_player.position.y -= g_player.forward.y * back;
        g_player.position.z -= g_player.forward.z * back;
    }
    if (frame > kBackStepEndsAfter) {
        g_animation.backStepping = 0;
        ResetToStand();
    }
}

void EndTurnWithoutKey() {
    const bool turning = g_animation.animStart == kTurnLeftFirst || g_animation.animStart == kTurnRightFirst;
    if (turning && g_animation.moveKeyActive == 0) ResetToStand();
}

void Stand(float dt) {
    if (g_player.animFrame < kStandEnd) {
        g_animation.stopping = 0;
        g_player.animFrame += dt * kStandRate;
    }
}

// The run was released: pick the stop that matches the stride the figure is in. Released
// during the run start the run goes on until the run range is reached.
void ChooseStop(float dt) {
    if (g_animation.running != 1 || g_animation.moveKeyActive != 0) return;
    float& frame = g_player.animFrame;
    g_player.position.y -= Gravity(dt);
    if (AsFrame(kRunFirst) <= frame && frame < 98.0f) {
        g_animation.running = 0;
        Play(kEarlyStopFirst, kEarlyStopLast);
        frame = AsFrame(kEarlyStopFirst);
    } else if (97.0f <= frame && frame < 109.0f) {
        g_animation.running = 0;
        Play(kLateStopFirst, kLateStopLast);
        frame = AsFrame(kLateStopFirst);
    }
}

void Run(float dt) {
    if (g_animation.running != 1) return;
    float& frame = g_player.animFrame;
    g_player.position.y -= Gravity(dt);
    g_player.position.z += dt * 18.0f * (10.0f * g_player.forward.z);
    g_player.position.x += dt * 18.0f * (10.0f * g_player.forward.x);
    frame += dt * kRunRate;
    if (frame < AsFrame(kRunStartFirst)) {
        Play(kRunStartFirst, kRunStartLast);
        frame = AsFrame(kRunStartFirst);
    }
    if (frame > 84.0f) Play(kRunFirst, kRunLast);
}

// One frame of a stop: the figure slides on at 54 per second until the range ends.
void Slide(float dt) {
    float& frame = g_player.animFrame;
    g_player.position.y -= Gravity(dt);
    g_animation.stopping = 1;
    g_player.position.z += dt * 18.0f * (3.0f * g_player.forward.z);
    g_player.position.x += dt * 18.0f * (3.0f * g_player.forward.x);
    frame += dt * kActionRate;
    if (AsFrame(g_animation.animEnd) <= frame) {
        g_animation.stopping = 0;
        ResetToStand();
    }
}

void EarlyStop(float dt) {
    const float frame = g_player.animFrame;
    if (AsFrame(kEarlyStopFirst) <= frame && frame <= AsFrame(kEarlyStopLast) && g_animation.moveKeyActive == 0) {
        Slide(dt);
    }
}

void LateStop(float dt) {
    const float frame = g_player.animFrame;
    if (AsFrame(kRunLast) < frame && frame < AsFrame(kEarlyStopFirst) && g_animation.moveKeyActive == 0) Slide(dt);
}

void LoopRange() {
    if (AsFrame(g_animation.animEnd) <= g_player.animFrame) g_player.animFrame = AsFrame(g_animation.animStart);
}

}  // namespace

void ForwardHeld() {
    // The run starts on the third consecutive frame with the key held.
    if (g_animation.forwardFrames > 1 && g_animation.backStepping == 0 && g_animation.stopping == 0) {
        g_animation.moveKeyActive += 1;
        g_animation.running = 1;
    }
    g_animation.forwardFrames += 1;
}

void ForwardReleased() {
    g_animation.forwardFrames = 0;
    g_animation.moveKeyActive = 0;
}

void BackHeld() {
    g_animation.backStepping = 1;
    Play(kBackStepFirst, kBackStepLast);
    if (g_player.animFrame < AsFrame(kBackStepFirst)) g_player.animFrame = AsFrame(kBackStepFirst);
}

void TurnHeld(TurnSide side, float dt) {
    // A turn only plays from standing; while running or stopping the key changes no range.
    if (g_animation.running != 0 || g_animation.stopping != 0) return;
    g_animation.moveKeyActive = 1;
    if (g_player.animFrame < kStandEnd) {
        if (side == TurnSide::Left) Play(kTurnLeftFirst, kTurnLeftLast);
        else Play(kTurnRightFirst, kTurnRightLast);
        g_player.animFrame = AsFrame(g_animation.animStart);
    }
    g_player.animFrame += dt * kActionRate;
}

void FrameStepKey() {
    g_player.animFrame += 1.0f;
    if (g_player.animFrame > kFrameStepWrapsAfter) g_player.animFrame = 0.0f;
}

void StepAnimation(float dt) {
    if (g_animation.backStepping == 1) BackStep(dt);
    EndTurnWithoutKey();
    Stand(dt);
    ChooseStop(dt);
    Run(dt);
    EarlyStop(dt);
    LateStop(dt);
    LoopRange();
}

}  // namespace brontal
