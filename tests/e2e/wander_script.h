#pragma once
// A pseudo-random key script that wanders through the level: runs of a few seconds with the
// forward key, turns either way, back-steps and, now and then, the key that puts the player back
// at the start (so a run stuck in a corner goes on somewhere else). The same seed gives the
// same script.
#include <cstdint>
#include <string>

#include "app/key_script.h"

namespace brontal::e2e {

// The script as the game reads it (--keys), covering frames 0 .. frames - 1.
std::string WanderScript(std::uint32_t seed, long long frames);

// Answers key polls from a script whose lines follow each other in frame order without
// overlapping, in constant time per poll however long the script is.
class SequentialKeys final : public KeyStateSource {
public:
    explicit SequentialKeys(KeyScript script) : script_(std::move(script)) {}
    void SetFrame(std::int64_t frame);
    std::uint16_t GetAsyncKeyState(int virtualKey) override;

private:
    KeyScript script_;
    std::size_t line_ = 0;
    std::int64_t frame_ = 0;
};

}  // namespace brontal::e2e
