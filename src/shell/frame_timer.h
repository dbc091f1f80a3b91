#pragma once
// The frame timer: frames per second and seconds per frame of the last frame, measured with a
// counter. Starts as if running at the target rate; never reports below 1 frame per second, so
// one frame never moves the game by more than a second's worth.
#include <cstdint>

#include "shell/counter.h"

namespace brontal {

inline constexpr std::int64_t kFallbackCounterFrequency = 1000;  // ticks are then milliseconds
inline constexpr float kMinimumFramesPerSecond = 1.0f;

class FrameTimer {
public:
    explicit FrameTimer(CounterSource& counter = SystemCounter());
    void Start(float targetFramesPerSecond);
    void Tick();
    float GetFramesPerSecond() const { return framesPerSecond; }
    float GetSecondsPerFrame() const { return secondsPerFrame; }
    std::uint64_t ReadCounter();

    float frequencyF = 0.0f;
    float framesPerSecond = 0.0f;
    float secondsPerFrame = 0.0f;
    std::uint64_t lastCount = 0;
    std::int64_t frequency = 0;
    std::uint64_t lastDelta = 0;

private:
    CounterSource* counter_;
};

// Created and started by the start-up sequence; ticked once per frame by the frame update.
extern FrameTimer* g_frameTimer;

}  // namespace brontal
