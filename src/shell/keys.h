#pragma once
// The keyboard as the game polls it: GetAsyncKeyState(virtualKey) with bit 15 set while held.
// The platform keyboard answers it in the game; a scripted source in tests and deterministic runs.
#include <cstdint>

namespace brontal {

inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_PRIOR = 0x21;  // Page Up
inline constexpr int VK_NEXT = 0x22;   // Page Down
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_1 = 0x31;
inline constexpr int VK_M = 0x4D;
inline constexpr int VK_P = 0x50;
inline constexpr int VK_W = 0x57;
inline constexpr int VK_X = 0x58;
inline constexpr int VK_NUMPAD0 = 0x60;
inline constexpr int VK_F5 = 0x74;

inline constexpr std::uint16_t kKeyHeldBit = 0x8000;

class KeyStateSource {
public:
    virtual ~KeyStateSource() = default;
    virtual std::uint16_t GetAsyncKeyState(int virtualKey) = 0;
};

// A source whose keys are set by hand (tests, key scripts).
class ManualKeys final : public KeyStateSource {
public:
    std::uint16_t GetAsyncKeyState(int virtualKey) override;
    void Set(int virtualKey, bool held);
    void ReleaseAll();

private:
    bool held_[256] = {};
};

// Where the game's key polls go; no keys are held while it is null.
extern KeyStateSource* g_keyStateSource;

std::uint16_t GetAsyncKeyState(int virtualKey);

}  // namespace brontal
