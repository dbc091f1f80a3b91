#pragma once
// The player's frame-rate cap (max-fps in settings.ini): after each frame the game sleeps until
// one frame's time after the previous frame's deadline. A frame that runs late moves the
// deadlines on from its own end, so the frames after it are not hurried to catch up.
#include <algorithm>
#include <chrono>
#include <thread>

namespace brontal {

using PaceClock = std::chrono::steady_clock;

inline PaceClock::time_point NextFrameDeadline(PaceClock::time_point previous, PaceClock::time_point now,
                                               PaceClock::duration interval) {
    return std::max(previous + interval, now);
}

class FramePacer {
public:
    // maxFps 0: no cap, Wait returns at once.
    explicit FramePacer(int maxFps)
        : interval_(maxFps > 0 ? std::chrono::duration_cast<PaceClock::duration>(std::chrono::seconds(1)) / maxFps
                               : PaceClock::duration::zero()),
          deadline_(PaceClock::now()) {}
    void Wait() {
        if (interval_ == PaceClock::duration::zero()) return;
        deadline_ = NextFrameDeadline(deadline_, PaceClock::now(), interval_);
        std::this_thread::sleep_until(deadline_);
    }

private:
    PaceClock::duration interval_;
    PaceClock::time_point deadline_;
};

}  // namespace brontal
