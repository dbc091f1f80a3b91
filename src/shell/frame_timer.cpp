#include "shell/frame_timer.h"

namespace brontal {

FrameTimer* g_frameTimer = nullptr;

FrameTimer::FrameTimer(CounterSource& counter) : counter_(&counter) {
    if (!counter_->QueryFrequency(&frequency)) frequency = kFallbackCounterFrequency;
    frequencyF = static_cast<float>(frequency);
}

std::uint64_t FrameTimer::ReadCounter() {
    std::uint64_t count = 0;
    if (!counter_->QueryCounter(&count)) return counter_->MillisecondClock();
    // The counter must never read as 0 while it works.
    while (count == 0) counter_->QueryCounter(&count);
    return count;
}

void FrameTimer::Start(float targetFramesPerSecond) {
    framesPerSecond = targetFramesPerSecond;
    secondsPerFrame = 1.0f / targetFramesPerSecond;
    lastDelta = static_cast<std::uint64_t>(frequency) /
                static_cast<std::uint64_t>(static_cast<std::int64_t>(targetFramesPerSecond));
    lastCount = ReadCounter();
}

void FrameTimer::Tick() {
    const std::uint64_t now = ReadCounter();
    if (now == lastCount) return;  // the counter has not moved: last frame's rates stay
    lastDelta = now - lastCount;
    lastCount = now;
    // The old rate is blended with weight 0: the rate is the last frame's alone.
    const float measured = frequencyF / static_cast<float>(static_cast<std::int64_t>(lastDelta));
    framesPerSecond = 0.0f * framesPerSecond + measured * 1.0f;
    if (framesPerSecond < kMinimumFramesPerSecond) framesPerSecond = kMinimumFramesPerSecond;
    secondsPerFrame = 1.0f / framesPerSecond;
}

}  // namespace brontal
