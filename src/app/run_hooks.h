#pragma once
// What a run does around each frame beyond the game itself: the key script, the device trace's
// frame markers, the state log, and the frame limit. Everything here is off unless asked for.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "app/frame_loop.h"
#include "app/key_script.h"

namespace brontal {

class FileRecorder;

class RunHooks final : public FrameHooks {
public:
    RunHooks(MessageQueue& queue, ScriptedKeys* keys, FileRecorder* trace, std::FILE* stateLog,
             std::optional<long long> frameLimit)
        : queue_(queue), keys_(keys), trace_(trace), stateLog_(stateLog), frameLimit_(frameLimit) {}
    void BeforeUpdate(std::int64_t frame) override;
    void AfterRender(std::int64_t frame) override;

private:
    MessageQueue& queue_;
    ScriptedKeys* keys_;
    FileRecorder* trace_;
    std::FILE* stateLog_;
    std::optional<long long> frameLimit_;
    float frameDt_ = 0;
    std::string line_;
    std::string marker_;
};

}  // namespace brontal
