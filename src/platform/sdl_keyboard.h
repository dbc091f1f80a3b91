#pragma once
// The platform keyboard: GetAsyncKeyState(virtualKey) answered from SDL's keyboard state, with
// bit 15 set while the key is held. The state is what SDL saw at its last event pump; the
// window's PeekOneMessage pumps on every pass of the frame loop, so each frame's polls see the
// keys as they were when the queue was last found empty.
#include <cstdint>

#include "shell/keys.h"

namespace brontal {

struct InputBindings;
class Gamepads;

// The key's SDL scancode for a virtual-key code, 0 (SDL_SCANCODE_UNKNOWN) when it has none.
// Shift, Control and Alt (0x10, 0x11, 0x12) stand for either the left or the right key; their
// scancode here is the left one.
int ScancodeForVirtualKey(int virtualKey);
// The virtual-key code of an SDL scancode (the right-hand modifiers give the generic codes),
// 0 when it has none.
int VirtualKeyForScancode(int scancode);

// Without bindings each virtual key is its own key. With them, a game key is held while any key
// bound to it is held, or any gamepad input bound to it.
class SdlKeyboard final : public KeyStateSource {
public:
    SdlKeyboard() = default;
    SdlKeyboard(const InputBindings* bindings, const Gamepads* gamepads) : bindings_(bindings), gamepads_(gamepads) {}
    std::uint16_t GetAsyncKeyState(int virtualKey) override;

private:
    const InputBindings* bindings_ = nullptr;
    const Gamepads* gamepads_ = nullptr;
};

}  // namespace brontal
