#include "shell/counter.h"

#include <chrono>
#include <cmath>

namespace brontal {

namespace {

class SteadyClockCounter final : public CounterSource {
public:
    bool QueryFrequency(std::int64_t* ticksPerSecond) override {
        using period = std::chrono::steady_clock::period;
        *ticksPerSecond = period::den / period::num;
        return true;
    }
    bool QueryCounter(std::uint64_t* count) override {
        *count = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        return true;
    }
    std::uint32_t MillisecondClock() override {
        auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
};

}  // namespace

CounterSource& SystemCounter() {
    static SteadyClockCounter counter;
    return counter;
}

SimulatedCounter::SimulatedCounter(double stepSeconds, std::uint64_t base)
    : base_(base), step_(static_cast<std::uint64_t>(std::llround(stepSeconds * 1'000'000.0))) {}

bool SimulatedCounter::QueryFrequency(std::int64_t* ticksPerSecond) {
    *ticksPerSecond = 1'000'000;
    return true;
}

bool SimulatedCounter::QueryCounter(std::uint64_t* count) {
    *count = base_ + reads_ * step_;
    ++reads_;
    return true;
}

std::uint32_t SimulatedCounter::MillisecondClock() {
    return static_cast<std::uint32_t>((base_ + reads_ * step_) / 1000);
}

}  // namespace brontal
