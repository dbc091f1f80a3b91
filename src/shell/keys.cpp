#include "shell/keys.h"

namespace brontal {

KeyStateSource* g_keyStateSource = nullptr;

std::uint16_t ManualKeys::GetAsyncKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) return 0;
    return held_[virtualKey] ? kKeyHeldBit : 0;
}

void ManualKeys::Set(int virtualKey, bool held) {
    if (virtualKey >= 0 && virtualKey <= 255) held_[virtualKey] = held;
}

void ManualKeys::ReleaseAll() {
    for (bool& h : held_) h = false;
}

std::uint16_t GetAsyncKeyState(int virtualKey) {
    return g_keyStateSource ? g_keyStateSource->GetAsyncKeyState(virtualKey) : 0;
}

}  // namespace brontal
