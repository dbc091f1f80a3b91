#pragma once
// The frame loop: one message handled per pass when one is waiting, otherwise one frame update
// and one render, until the quit message has been taken. While the queue is idle (nobody sees the
// frames) an empty queue means waiting for the next message instead of a frame; the frame timer
// keeps the first frame after it from stepping more than its longest frame.
#include <cstdint>

#include "app/message_queue.h"

namespace brontal {

// What a run adds around each frame (deterministic runs: key script, logs, frame limit).
class FrameHooks {
public:
    virtual ~FrameHooks() = default;
    virtual void BeforeUpdate(std::int64_t frame) = 0;
    virtual void AfterRender(std::int64_t frame) = 0;
};

struct FrameSteps {
    void (*update)() = nullptr;
    void (*render)() = nullptr;
};

// Returns the number of frames run.
std::int64_t RunFrameLoop(MessageQueue& queue, FrameSteps steps, FrameHooks* hooks);

}  // namespace brontal
