#include "e2e/wander_script.h"

#include <algorithm>
#include <random>

namespace brontal::e2e {

std::string WanderScript(std::uint32_t seed, long long frames) {
    std::mt19937 random(seed);
    auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    std::string script = "# wandering, seed " + std::to_string(seed) + "\n";
    long long frame = 0;
    while (frame < frames) {
        const int choice = between(0, 99);
        const char* keys = nullptr;
        int length = 0;
        if (choice < 45) {
            keys = "UP";
            length = between(20, 150);
        } else if (choice < 60) {
            keys = "UP LEFT";
            length = between(5, 40);
        } else if (choice < 75) {
            keys = "UP RIGHT";
            length = between(5, 40);
        } else if (choice < 83) {
            keys = between(0, 1) ? "LEFT" : "RIGHT";
            length = between(5, 45);
        } else if (choice < 90) {
            keys = "DOWN";
            length = between(10, 60);
        } else if (choice < 98) {
            length = between(5, 40);  // nothing held: the figure stops and stands
        } else {
            keys = "P";
            length = 1;
        }
        const long long last = std::min<long long>(frame + length - 1, frames - 1);
        if (keys) script += std::to_string(frame) + " " + std::to_string(last) + " " + keys + "\n";
        frame = last + 1;
    }
    return script;
}

void SequentialKeys::SetFrame(std::int64_t frame) {
    frame_ = frame;
    while (line_ < script_.lines.size() && script_.lines[line_].last < frame) ++line_;
}

std::uint16_t SequentialKeys::GetAsyncKeyState(int virtualKey) {
    if (line_ >= script_.lines.size()) return 0;
    const KeyScriptLine& line = script_.lines[line_];
    if (frame_ < line.first || frame_ > line.last) return 0;
    const bool held = std::find(line.virtualKeys.begin(), line.virtualKeys.end(), virtualKey) != line.virtualKeys.end();
    return held ? kKeyHeldBit : 0;
}

}  // namespace brontal::e2e
