#include "platform/sdl_keyboard.h"

#include <SDL2/SDL.h>

#include <array>

#include "platform/input_bindings.h"
#include "platform/sdl_gamepad.h"

namespace brontal {

namespace {

struct KeyPair {
    int virtualKey;
    SDL_Scancode scancode;
};

constexpr int VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12,
              VK_SPACE = 0x20, VK_F1 = 0x70;

// Keys that are not letters, digits, numpad digits or function keys (those go by range).
constexpr std::array<KeyPair, 16> kNamedKeys{{
    {VK_BACK, SDL_SCANCODE_BACKSPACE},
    {VK_TAB, SDL_SCANCODE_TAB},
    {VK_RETURN, SDL_SCANCODE_RETURN},
    {VK_SHIFT, SDL_SCANCODE_LSHIFT},
    {VK_CONTROL, SDL_SCANCODE_LCTRL},
    {VK_MENU, SDL_SCANCODE_LALT},
    {VK_ESCAPE, SDL_SCANCODE_ESCAPE},
    {VK_SPACE, SDL_SCANCODE_SPACE},
    {VK_PRIOR, SDL_SCANCODE_PAGEUP},
    {VK_NEXT, SDL_SCANCODE_PAGEDOWN},
    {VK_LEFT, SDL_SCANCODE_LEFT},
    {VK_UP, SDL_SCANCODE_UP},
    {VK_RIGHT, SDL_SCANCODE_RIGHT},
    {VK_DOWN, SDL_SCANCODE_DOWN},
    {VK_NUMPAD0, SDL_SCANCODE_KP_0},
    {0x2D, SDL_SCANCODE_INSERT},  // VK_INSERT
}};

// The other hand's modifier of a generic code.
SDL_Scancode SecondScancode(int virtualKey) {
    switch (virtualKey) {
        case VK_SHIFT: return SDL_SCANCODE_RSHIFT;
        case VK_CONTROL: return SDL_SCANCODE_RCTRL;
        case VK_MENU: return SDL_SCANCODE_RALT;
        default: return SDL_SCANCODE_UNKNOWN;
    }
}

}  // namespace

int ScancodeForVirtualKey(int vk) {
    if (vk >= 'A' && vk <= 'Z') return SDL_SCANCODE_A + (vk - 'A');
    if (vk == '0') return SDL_SCANCODE_0;
    if (vk >= '1' && vk <= '9') return SDL_SCANCODE_1 + (vk - '1');
    if (vk >= VK_NUMPAD0 + 1 && vk <= VK_NUMPAD0 + 9) return SDL_SCANCODE_KP_1 + (vk - VK_NUMPAD0 - 1);
    if (vk >= VK_F1 && vk < VK_F1 + 12) return SDL_SCANCODE_F1 + (vk - VK_F1);
    for (const KeyPair& k : kNamedKeys)
        if (k.virtualKey == vk) return k.scancode;
    return SDL_SCANCODE_UNKNOWN;
}

int VirtualKeyForScancode(int scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0) return '0';
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) return VK_NUMPAD0 + 1 + (scancode - SDL_SCANCODE_KP_1);
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) return VK_F1 + (scancode - SDL_SCANCODE_F1);
    for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU})
        if (scancode == SecondScancode(vk)) return vk;
    for (const KeyPair& k : kNamedKeys)
        if (k.scancode == scancode) return k.virtualKey;
    return 0;
}

std::uint16_t SdlKeyboard::GetAsyncKeyState(int virtualKey) {
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    auto held = [&](int scancode) { return scancode > 0 && scancode < count && keys[scancode] != 0; };
    bool down = false;
    if (const std::optional<int> slot = bindings_ ? GameKeySlot(virtualKey) : std::nullopt) {
        for (int scancode : bindings_->keys[*slot]) down = down || held(scancode);
    } else {
        down = held(ScancodeForVirtualKey(virtualKey)) || held(SecondScancode(virtualKey));
    }
    if (gamepads_ && !down) down = gamepads_->Holds(virtualKey);
    return down ? kKeyHeldBit : 0;
}

}  // namespace brontal
