#include "shell/frame_timer.h"

#include <gtest/gtest.h>

namespace brontal {
namespace {

// A counter whose reads are set by the test, with an optional missing high-resolution counter.
class ScriptedCounter final : public CounterSource {
public:
    bool hasCounter = true;
    std::int64_t frequency = 1000;
    std::vector<std::uint64_t> reads;
    std::size_t next = 0;
    std::uint32_t milliseconds = 0;
    bool QueryFrequency(std::int64_t* f) override {
        if (!hasCounter) return false;
        *f = frequency;
        return true;
    }
    bool QueryCounter(std::uint64_t* c) override {
        if (!hasCounter) return false;
        *c = next < reads.size() ? reads[next] : reads.back();
        ++next;
        return true;
    }
    std::uint32_t MillisecondClock() override { return milliseconds; }
};

TEST(FrameTimer, StartsAtTheTargetRateBeforeAnyTick) {
    ScriptedCounter counter;
    counter.reads = {500};
    FrameTimer timer(counter);
    timer.Start(30.0f);
    EXPECT_FLOAT_EQ(timer.GetFramesPerSecond(), 30.0f);
    EXPECT_EQ(timer.GetSecondsPerFrame(), 1.0f / 30.0f);
    EXPECT_EQ(timer.lastDelta, 1000u / 30u);
    EXPECT_EQ(timer.lastCount, 500u);
}

TEST(FrameTimer, MeasuresTheLastFrameOnly) {
    ScriptedCounter counter;
    counter.reads = {100, 110, 130};
    FrameTimer timer(counter);
    timer.Start(30.0f);
    timer.Tick();  // 10 ticks of a 1000 Hz counter
    EXPECT_FLOAT_EQ(timer.GetFramesPerSecond(), 100.0f);
    EXPECT_FLOAT_EQ(timer.GetSecondsPerFrame(), 0.01f);
    timer.Tick();  // 20 ticks: no averaging with the 10 before
    EXPECT_FLOAT_EQ(timer.GetFramesPerSecond(), 50.0f);
    EXPECT_FLOAT_EQ(timer.GetSecondsPerFrame(), 0.02f);
}

TEST(FrameTimer, UnmovedCounterKeepsTheRates) {
    ScriptedCounter counter;
    counter.reads = {100, 110, 110};
    FrameTimer timer(counter);
    timer.Start(30.0f);
    timer.Tick();
    timer.Tick();
    EXPECT_FLOAT_EQ(timer.GetFramesPerSecond(), 100.0f);
    EXPECT_EQ(timer.lastDelta, 10u);
}

TEST(FrameTimer, LongFramesAreFlooredAtOneFramePerSecond) {
    ScriptedCounter counter;
    counter.reads = {100, 2100};  // two seconds
    FrameTimer timer(counter);
    timer.Start(30.0f);
    timer.Tick();
    EXPECT_EQ(timer.GetFramesPerSecond(), 1.0f);
    EXPECT_EQ(timer.GetSecondsPerFrame(), 1.0f);
}

TEST(FrameTimer, ZeroReadsArePolledAgain) {
    ScriptedCounter counter;
    counter.reads = {0, 0, 42};
    FrameTimer timer(counter);
    EXPECT_EQ(timer.ReadCounter(), 42u);
}

TEST(FrameTimer, FallsBackToTheMillisecondClock) {
    ScriptedCounter counter;
    counter.hasCounter = false;
    counter.milliseconds = 7000;
    FrameTimer timer(counter);
    EXPECT_EQ(timer.frequency, 1000);
    EXPECT_EQ(timer.frequencyF, 1000.0f);
    timer.Start(30.0f);
    EXPECT_EQ(timer.lastCount, 7000u);
    counter.milliseconds = 7025;
    timer.Tick();
    EXPECT_FLOAT_EQ(timer.GetFramesPerSecond(), 40.0f);
}

TEST(SimulatedCounter, FirstFrameAtThirtyThenTheFixedStep) {
    SimulatedCounter counter(0.01);
    FrameTimer timer(counter);
    EXPECT_EQ(timer.frequency, 1'000'000);
    timer.Start(30.0f);
    EXPECT_EQ(timer.GetSecondsPerFrame(), 1.0f / 30.0f);
    timer.Tick();
    EXPECT_FLOAT_EQ(timer.GetSecondsPerFrame(), 0.01f);
    EXPECT_EQ(timer.lastDelta, 10'000u);
    timer.Tick();
    EXPECT_EQ(timer.lastDelta, 10'000u);
}

TEST(SimulatedCounter, ZeroStepNeverMoves) {
    SimulatedCounter counter(0.0);
    FrameTimer timer(counter);
    timer.Start(30.0f);
    for (int i = 0; i < 5; ++i) timer.Tick();
    EXPECT_EQ(timer.GetSecondsPerFrame(), 1.0f / 30.0f);
}

TEST(SimulatedCounter, RoundsTheStepToWholeTicks) {
    SimulatedCounter counter(1.0 / 60.0);  // 16666.67 us rounds to 16667
    std::uint64_t first = 0, second = 0;
    counter.QueryCounter(&first);
    counter.QueryCounter(&second);
    EXPECT_EQ(second - first, 16667u);
}

}  // namespace
}  // namespace brontal
