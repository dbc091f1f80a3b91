#pragma once
// Where the frame timer gets its time: the high-resolution counter and its frequency, with the
// millisecond clock as fallback. The system one reads std::chrono::steady_clock; the simulated
// one moves by a fixed step per read (deterministic runs and tests).
#include <cstdint>

namespace brontal {

class CounterSource {
public:
    virtual ~CounterSource() = default;
    // False when there is no high-resolution counter.
    virtual bool QueryFrequency(std::int64_t* ticksPerSecond) = 0;
    virtual bool QueryCounter(std::uint64_t* count) = 0;
    virtual std::uint32_t MillisecondClock() = 0;
};

// Nanosecond ticks of std::chrono::steady_clock.
CounterSource& SystemCounter();

// Frequency 1,000,000. The first read returns base; read n + 1 returns base + n * step, where
// step is round(stepSeconds * 1,000,000). A step of 0 never moves.
class SimulatedCounter final : public CounterSource {
public:
    SimulatedCounter(double stepSeconds, std::uint64_t base = 1'000'000);
    bool QueryFrequency(std::int64_t* ticksPerSecond) override;
    bool QueryCounter(std::uint64_t* count) override;
    std::uint32_t MillisecondClock() override;
    std::uint64_t Reads() const { return reads_; }

private:
    std::uint64_t base_;
    std::uint64_t step_;
    std::uint64_t reads_ = 0;
};

}  // namespace brontal
