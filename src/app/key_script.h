#pragma once
// Key scripts: key presses by frame number, for deterministic runs. A script is lines of
//   FIRST LAST KEY [KEY ...]
// with inclusive frame numbers counted from 0 (frame n is the n-th frame update) and keys named
// UP DOWN LEFT RIGHT NUMPAD0 M P W X 1 ESCAPE and the preview keys PAGEUP PAGEDOWN F5, in any
// case. Blank lines and lines starting with # are ignored. ESCAPE quits after the frame it covers.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/keys.h"

namespace brontal {

struct KeyScriptLine {
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::vector<int> virtualKeys;
};

struct KeyScript {
    std::vector<KeyScriptLine> lines;
    bool Held(std::int64_t frame, int virtualKey) const;
};

// On a malformed line returns nullopt with error naming the source and the line number.
std::optional<KeyScript> ParseKeyScript(const std::string& text, const std::string& sourceName, std::string& error);
// The largest key script read (a line per key change; far more than any run needs).
inline constexpr std::uint64_t kMaxKeyScriptSize = std::uint64_t{16} << 20;

std::optional<KeyScript> LoadKeyScript(const std::string& path, std::string& error);

// Answers key polls from a script at the current frame.
class ScriptedKeys final : public KeyStateSource {
public:
    explicit ScriptedKeys(KeyScript script) : script_(std::move(script)) {}
    void SetFrame(std::int64_t frame) { frame_ = frame; }
    std::uint16_t GetAsyncKeyState(int virtualKey) override {
        return script_.Held(frame_, virtualKey) ? kKeyHeldBit : 0;
    }
    bool QuitAfterFrame(std::int64_t frame) const { return script_.Held(frame, VK_ESCAPE); }

private:
    KeyScript script_;
    std::int64_t frame_ = 0;
};

}  // namespace brontal
