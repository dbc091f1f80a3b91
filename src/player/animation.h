#pragma once
// The player's animation states. The figure's key frames are fixed ranges, one per action; this
// small machine chooses the range, advances g_player.animFrame through it at the action's rate
// and, while the run, the stops and the back-step play, moves the player and applies gravity.
// The keyboard only raises events; collision runs after StepAnimation and holds the player up.
//
//   action                 frames    rate/s  movement while it plays
//   stand                  1-69      20      none, no gravity
//   run start, run         70-107    35      180/s along forward (x, z), gravity
//   stop after 98..109     108-123   30      54/s along forward (x, z), gravity
//   stop after 86..98      124-140   30      the same
//   turn left / right      141-202   30      none (only while the arrow is held)
//   back-step              203-230   30      140/s against forward (x, y, z) within 211-223, gravity
//
// Every comparison of animFrame with animStart or animEnd converts the integer to float. Every
// product is a 32-bit float product evaluated left to right.
#include <cstdint>

namespace brontal {

// The figure's actions as key-frame ranges, first and last key: the game plays them and the
// sample figure is animated to them.
inline constexpr std::int32_t kStandFirst = 1, kStandLast = 69;
inline constexpr std::int32_t kRunStartFirst = 70, kRunStartLast = 85;
inline constexpr std::int32_t kRunFirst = 86, kRunLast = 107;
inline constexpr std::int32_t kLateStopFirst = 108, kLateStopLast = 123;    // released at run frames 97 (98) to below 109
inline constexpr std::int32_t kEarlyStopFirst = 124, kEarlyStopLast = 140;  // released at run frames 86 to below 98
inline constexpr std::int32_t kTurnLeftFirst = 141, kTurnLeftLast = 171;
inline constexpr std::int32_t kTurnRightFirst = 172, kTurnRightLast = 202;
inline constexpr std::int32_t kBackStepFirst = 203, kBackStepLast = 230;
// The back-step moves the player only between these keys, while the figure's foot is down.
inline constexpr std::int32_t kBackStepMoveFirst = 211, kBackStepMoveLast = 223;

struct AnimationState {
    std::int32_t animStart = 1;      // first frame of the range now playing
    std::int32_t animEnd = 69;       // last frame: reaching it loops or ends the action
    std::int32_t forwardFrames = 0;  // consecutive frames the forward key has been held
    std::int32_t moveKeyActive = 0;  // non-zero while a movement key keeps an action going
    std::int32_t running = 0;        // flag
    std::int32_t stopping = 0;       // flag
    std::int32_t backStepping = 0;   // flag
    float gravityFactor = 4.0f;      // fall speed is 20 per second times this
};

extern AnimationState g_animation;

enum class TurnSide { Left, Right };

// Events of the player-steering step, in the order the frame update raises them.
void ForwardHeld();
void ForwardReleased();
void BackHeld();
void TurnHeld(TurnSide side, float dt);
void FrameStepKey();  // key X, raised after collision

// Advances the animation frame and moves the player by the playing action and by gravity.
void StepAnimation(float dt);

}  // namespace brontal
